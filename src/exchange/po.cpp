// PO files, read and written through GNU gettext's libgettextpo.
#include <gettext-po.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "exchange/formats.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/text.h"

namespace rux::exchange {
namespace {

// The context of an entry: the form file and the record's Id. Ids hold no "|".
constexpr char kContextSeparator = '|';
constexpr const char* kFieldSource = "X-Vaq-Source-Language";
constexpr const char* kFieldFolder = "X-Vaq-Folder";
// The line of the extracted comments ("#.") that holds the unit's baseline.
constexpr std::string_view kBaselinePrefix = "vaq:base ";

// The library reports problems through handlers without a user pointer; the reader collects the
// first error of the current thread's read here.
struct ReadErrors {
  std::string First;
  bool Any = false;
};
thread_local ReadErrors* g_readErrors = nullptr;

void Record(int severity, const char* filename, size_t lineno, const char* text) {
  if (g_readErrors == nullptr || severity == PO_SEVERITY_WARNING || g_readErrors->Any) return;
  g_readErrors->Any = true;
  std::string body = text != nullptr ? text : "cannot be read";
  while (!body.empty() && body.back() == '\n') body.pop_back();
  std::string message;
  if (filename != nullptr && lineno != static_cast<size_t>(-1)) {
    // The lexer reports an unterminated string after it has read the line break that ends it.
    if (body == "end-of-line within string" && lineno > 1) --lineno;
    message = "line " + std::to_string(lineno) + ": ";
  }
  g_readErrors->First = message + body;
}

void OnError(int severity, po_message_t, const char* filename, size_t lineno, size_t, int, const char* text) {
  Record(severity, filename, lineno, text);
}

void OnError2(int severity, po_message_t, const char* filename1, size_t lineno1, size_t, int,
              const char* text1, po_message_t, const char*, size_t, size_t, int, const char*) {
  Record(severity, filename1, lineno1, text1);
}

const po_xerror_handler kHandler = {OnError, OnError2};

struct FileFree {
  void operator()(po_file_t file) const { po_file_free(file); }
};
using FilePtr = std::unique_ptr<struct po_file, FileFree>;

struct IteratorFree {
  void operator()(po_message_iterator_t iterator) const { po_message_iterator_free(iterator); }
};
using IteratorPtr = std::unique_ptr<struct po_message_iterator, IteratorFree>;

// PO's language field takes "de_DE"; the documents hold "de-DE".
std::string PoLanguage(std::string tag) {
  for (char& c : tag)
    if (c == '-') c = '_';
  return tag;
}

std::string TagOf(std::string language) {
  for (char& c : language)
    if (c == '_') c = '-';
  const std::size_t at = language.find_first_of(".@");
  return at == std::string::npos ? language : language.substr(0, at);
}

std::string HeaderField(const char* header, const char* field) {
  if (header == nullptr) return {};
  char* value = po_header_field(header, field);
  if (value == nullptr) return {};
  std::string result(value);
  std::free(value);
  return result;
}

std::string WithoutFinalNewline(const char* text) {
  std::string result = text != nullptr ? text : "";
  while (!result.empty() && result.back() == '\n') result.pop_back();
  return result;
}

// libgettextpo finds the characters of every string (reading) and of every line it wraps
// (writing) by converting them one by one with iconv, even from UTF-8 to UTF-8; that conversion is
// most of its time. Its switches OLD_PO_FILE_INPUT and OLD_PO_FILE_OUTPUT make it take bytes as
// they are instead, which for UTF-8 changes nothing (no byte of a multi-byte character is a quote,
// a backslash or a line break; the output is byte for byte the same), so they are set around the
// library's calls on UTF-8 catalogues and restored after. The strings read are checked to be UTF-8.
class ByteWiseCatalogue {
 public:
  ByteWiseCatalogue() : input_(Save("OLD_PO_FILE_INPUT")), output_(Save("OLD_PO_FILE_OUTPUT")) {
    setenv("OLD_PO_FILE_INPUT", "1", 1);
    setenv("OLD_PO_FILE_OUTPUT", "1", 1);
  }
  ~ByteWiseCatalogue() {
    Restore("OLD_PO_FILE_INPUT", input_);
    Restore("OLD_PO_FILE_OUTPUT", output_);
  }
  ByteWiseCatalogue(const ByteWiseCatalogue&) = delete;
  ByteWiseCatalogue& operator=(const ByteWiseCatalogue&) = delete;

 private:
  static std::optional<std::string> Save(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
  }
  static void Restore(const char* name, const std::optional<std::string>& value) {
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }
  std::optional<std::string> input_;
  std::optional<std::string> output_;
};

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
      code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      code = c & 0x07;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
        (length == 4 && (code < 0x10000 || code > 0x10FFFF)))
      return false;
    i += length;
  }
  return true;
}

// The charset of a Content-Type header field ("text/plain; charset=UTF-8"); empty without one.
std::string CharsetOf(const std::string& contentType) {
  const std::size_t at = contentType.find("charset=");
  if (at == std::string::npos) return {};
  std::string charset = contentType.substr(at + 8);
  const std::size_t end = charset.find_first_of("; \t");
  return end == std::string::npos ? charset : charset.substr(0, end);
}

bool IsUtf8Name(const std::string& charset) {
  return vaq::AnsiSameText(charset, "UTF-8") || vaq::AnsiSameText(charset, "UTF8") ||
         vaq::AnsiSameText(charset, "CHARSET");  // a template's placeholder: no text beyond ASCII yet
}

// The baseline in extracted comments: the text after kBaselinePrefix on a line of its own.
std::string BaselineOf(const char* comments) {
  if (comments == nullptr) return {};
  std::string_view text(comments);
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    if (line.starts_with(kBaselinePrefix)) return std::string(line.substr(kBaselinePrefix.size()));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return {};
}

// Now, as PO headers write it: "2026-12-06 17:55+0000".
std::string RevisionDate() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M+0000", &utc);
  return text;
}

}  // namespace

std::string WritePo(const Document& document) {
  FilePtr file(po_file_create());
  IteratorPtr iterator(po_message_iterator(file.get(), nullptr));
  const std::string header = "Project-Id-Version: " + document.Project +
                             "\n"
                             "PO-Revision-Date: " +
                             RevisionDate() +
                             "\n"
                             "Last-Translator: \n"
                             "Language-Team: \n"
                             "Language: " +
                             PoLanguage(document.TargetLang) +
                             "\n"
                             "MIME-Version: 1.0\n"
                             "Content-Type: text/plain; charset=UTF-8\n"
                             "Content-Transfer-Encoding: 8bit\n" +
                             kFieldSource + ": " + document.SourceLang + "\n" + kFieldFolder + ": " +
                             document.Folder + "\n";
  po_message_t headerMessage = po_message_create();
  po_message_set_msgid(headerMessage, "");
  po_message_set_msgstr(headerMessage, header.c_str());
  po_message_insert(iterator.get(), headerMessage);

  for (const FileUnits& form : document.Files) {
    for (const Unit& unit : form.Units) {
      po_message_t message = po_message_create();
      const std::string context = form.Original + kContextSeparator + unit.Id;
      po_message_set_msgctxt(message, context.c_str());
      po_message_set_msgid(message, unit.Source.c_str());
      po_message_set_msgstr(message, unit.HasTarget ? unit.Target.c_str() : "");
      std::string developer =
          unit.Type + " " + unit.Property + (unit.IsString ? "" : " (form-text notation)");
      if (!unit.Baseline.empty()) developer.append("\n").append(kBaselinePrefix).append(unit.Baseline);
      po_message_set_extracted_comments(message, developer.c_str());
      if (!unit.Comment.empty()) po_message_set_comments(message, unit.Comment.c_str());
      if (!unit.PrevSource.empty()) po_message_set_prev_msgid(message, unit.PrevSource.c_str());
      po_message_add_filepos(message, form.Original.c_str(), static_cast<size_t>(-1));
      if (unit.HasTarget && unit.State == UnitState::NeedsReview) po_message_set_fuzzy(message, 1);
      po_message_insert(iterator.get(), message);
    }
  }
  iterator.reset();

  // The library writes to a file only; a temporary one holds the text.
  std::string name = (std::filesystem::temp_directory_path() / "vaq-po-XXXXXX").string();
  const int fd = mkstemp(name.data());
  if (fd < 0) throw vaq::EFileError("cannot create a temporary file for the PO text");
  close(fd);
  ReadErrors errors;
  g_readErrors = &errors;
  po_file_t written = nullptr;
  {
    const ByteWiseCatalogue byteWise;  // the catalogue is UTF-8
    written = po_file_write(file.get(), name.c_str(), &kHandler);
  }
  g_readErrors = nullptr;
  std::string text;
  try {
    if (written == nullptr || errors.Any) throw vaq::EFileError("PO writer failed: " + errors.First);
    text = vaq::ReadFileBytes(name);
  } catch (...) {
    std::remove(name.c_str());
    throw;
  }
  std::remove(name.c_str());
  return text;
}

Document ReadPo(const std::string& fileName) {
  ReadErrors errors;
  g_readErrors = &errors;
  FilePtr file;
  {
    // Read byte-wise; a catalogue in another charset is refused below, and every string checked.
    const ByteWiseCatalogue byteWise;
    file.reset(po_file_read(fileName.c_str(), &kHandler));
  }
  g_readErrors = nullptr;
  if (file == nullptr || errors.Any)
    throw EExchangeParseError(fileName + ": " + (errors.Any ? errors.First : std::string("cannot be read")));

  Document document;
  const char* header = po_file_domain_header(file.get(), nullptr);
  const std::string charset = CharsetOf(HeaderField(header, "Content-Type"));
  if (!charset.empty() && !IsUtf8Name(charset))
    throw EExchangeParseError(fileName + ": the catalogue is in " + charset +
                              "; vaq reads PO files in UTF-8 (msgconv --to-code=UTF-8 converts it)");
  document.TargetLang = TagOf(HeaderField(header, "Language"));
  document.SourceLang = HeaderField(header, kFieldSource);
  document.Folder = HeaderField(header, kFieldFolder);

  IteratorPtr iterator(po_message_iterator(file.get(), nullptr));
  FileUnits* current = nullptr;
  while (po_message_t message = po_next_message(iterator.get())) {
    if (po_message_is_obsolete(message)) continue;
    const char* msgid = po_message_msgid(message);
    const char* context = po_message_msgctxt(message);
    if (context == nullptr) {
      if (msgid != nullptr && *msgid == '\0') continue;  // the header
      throw EExchangeParseError(fileName + ": the entry \"" + std::string(msgid ? msgid : "") +
                                "\" has no msgctxt (form file and Id)");
    }
    const std::string_view contextText(context);
    const std::size_t separator = contextText.rfind(kContextSeparator);
    if (separator == std::string_view::npos || separator == 0 || separator + 1 == contextText.size()) {
      throw EExchangeParseError(fileName + ": the msgctxt \"" + std::string(contextText) +
                                "\" does not name a form file and an Id");
    }
    const std::string original(contextText.substr(0, separator));
    if (current == nullptr || current->Original != original) {
      current = nullptr;
      for (FileUnits& form : document.Files)
        if (form.Original == original) current = &form;
      if (current == nullptr) {
        document.Files.push_back(FileUnits{original, {}});
        current = &document.Files.back();
      }
    }
    Unit unit;
    unit.Id = std::string(contextText.substr(separator + 1));
    unit.Source = msgid != nullptr ? msgid : "";
    const char* msgstr = po_message_msgstr(message);
    unit.Target = msgstr != nullptr ? msgstr : "";
    unit.HasTarget = !unit.Target.empty();
    unit.State = !unit.HasTarget                ? UnitState::Initial
                 : po_message_is_fuzzy(message) ? UnitState::NeedsReview
                                                : UnitState::Translated;
    unit.Comment = WithoutFinalNewline(po_message_comments(message));
    unit.Baseline = BaselineOf(po_message_extracted_comments(message));
    const char* previous = po_message_prev_msgid(message);
    if (previous != nullptr) unit.PrevSource = previous;
    if (!IsUtf8(contextText) || !IsUtf8(unit.Source) || !IsUtf8(unit.Target) || !IsUtf8(unit.Comment) ||
        !IsUtf8(unit.PrevSource))
      throw EExchangeParseError(fileName + ": the entry \"" + std::string(contextText) +
                                "\" holds text that is not UTF-8");
    current->Units.push_back(std::move(unit));
  }
  return document;
}

}  // namespace rux::exchange
