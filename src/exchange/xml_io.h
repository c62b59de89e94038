// libxml2 plumbing shared by the XLIFF readers and writers: a writer into memory, a streaming
// reader that reports the line of the first error, and helpers on the elements it expands.
#pragma once

#include <libxml/tree.h>
#include <libxml/xmlreader.h>
#include <libxml/xmlwriter.h>

#include <memory>
#include <string>
#include <string_view>

namespace rux::exchange::xml {

// Builds a document in memory with xmlTextWriter; every call checks its result.
class Writer {
 public:
  Writer();
  ~Writer();
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  void Start(const char* name);
  // An element whose content is text: no indentation inside it, which would add to the text.
  void StartText(const char* name);
  void EndText();
  void Attribute(const char* name, std::string_view value);
  // Text; characters XML cannot carry (controls but tab, LF and CR) go through `control`, which
  // writes them as elements of the format.
  template <typename ControlFn>
  void Text(std::string_view text, ControlFn control) {
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (c >= 32 || c == '\t' || c == '\n' || c == '\r') continue;
      PlainText(text.substr(run, i - run));
      control(c);
      run = i + 1;
    }
    PlainText(text.substr(run));
  }
  void PlainText(std::string_view text);
  void End();
  // The finished document (UTF-8, with the XML declaration).
  std::string Finish();

 private:
  void Check(int result, const char* what);
  static int Append(void* context, const char* data, int length);
  std::string text_;  // grows geometrically; the writer's own memory buffer grows by exact steps
  xmlTextWriterPtr writer_;
};

// Reads a document as a stream: the parser walks it once and keeps only the element it stands on,
// which Expand turns into a tree of its own (freed when the reader moves on). Errors raise
// EExchangeParseError naming the file and the line. A document type declaration (DTD) is refused
// before anything is read; no network access and no entity expansion.
class StreamReader {
 public:
  StreamReader(std::string_view data, std::string fileName);
  ~StreamReader();
  StreamReader(const StreamReader&) = delete;
  StreamReader& operator=(const StreamReader&) = delete;

  // Moves to the next node; false at the end of the document.
  bool Read();
  // Whether the reader stands on the start of an element named `name` (any element without one).
  bool AtElement(const char* name = nullptr) const;
  // The namespace of the current element ("" without one).
  std::string Namespace() const;
  std::string Attr(const char* name, const char* ns = nullptr) const;
  int Line() const;
  // The current element with everything inside it; valid until the reader moves on.
  const xmlNode* Expand();
  // Moves past the current element and everything inside it.
  void Skip();
  [[noreturn]] void Fail(int line, const std::string& what) const;

 private:
  static void OnError(void* self, xmlErrorPtr error);
  [[noreturn]] void FailFromParser() const;
  xmlTextReaderPtr reader_;
  std::string fileName_;
  std::string firstError_;
  int errorLine_ = 0;
  bool advanced_ = false;  // Skip has moved to the next node already
};

// Element helpers: the local name, an attribute (without namespace, or in namespace `ns`), the line.
bool Is(const xmlNode* node, const char* name);
std::string Attr(const xmlNode* node, const char* name, const char* ns = nullptr);
bool HasAttr(const xmlNode* node, const char* name, const char* ns = nullptr);
int Line(const xmlNode* node);

// The namespace of our own attributes and sub-states.
inline constexpr const char* kVaqNamespace = "urn:vaq:exchange:1";

}  // namespace rux::exchange::xml
