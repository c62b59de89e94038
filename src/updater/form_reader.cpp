#include "updater/form_reader.h"

#include <cstdint>
#include <string_view>

#include "core/values/code_page_text.h"
#include "core/values/string_notation.h"
#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/locale.h"
#include "host/core/text.h"

namespace rux {

namespace {

using vaq::TValueType;

std::string HexText(std::string_view Bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string Result;
  Result.reserve(Bytes.size() * 2);
  for (const char C : Bytes) {
    const auto B = static_cast<unsigned char>(C);
    Result += kDigits[B >> 4];
    Result += kDigits[B & 0x0F];
  }
  return Result;
}

// Walks the binary form and adds one line per value. Every added line takes the current Type and
// the pending open and close tokens; lists and collections mark their bounds on their first and
// last lines so that the nesting can be rebuilt from the lines alone.
class TLineReader {
 public:
  TLineReader(vaq::TFormReader& Reader, TExtractedLines& Lines, const std::string& FileName)
      : Reader_(Reader), Lines_(Lines), FileName_(FileName) {}

  void ReadComponent(const std::string& ParentPath, std::uint16_t Position) {
    DepthGuard Guard(*this);
    std::uint8_t Flags = 0;
    std::int32_t ChildPos = -1;
    Reader_.ReadPrefix(Flags, ChildPos);
    Type_ = Reader_.ReadStr();
    const std::string Name = Reader_.ReadStr();
    const char Kind = (Flags & vaq::ffInherited) ? 'I' : (Flags & vaq::ffInline) ? 'L' : 'O';
    if (Flags & vaq::ffChildPos) Type_ += " [" + std::to_string(ChildPos) + "]";

    std::string Segment = std::string(1, Kind) + ":";
    Segment += Name.empty() ? "[" + std::to_string(Position) + "]" + Type_ : Name;
    const std::string Path = ParentPath.empty() ? Segment : ParentPath + "." + Segment;

    if (Reader_.EndOfList()) {
      AddLine(Path + ".", "");
    } else {
      while (!Reader_.EndOfList()) ReadProperty(Path);
    }
    Reader_.ReadListEnd();

    for (std::uint16_t Child = 0; !Reader_.EndOfList(); ++Child) ReadComponent(Path, Child);
    Reader_.ReadListEnd();
  }

 private:
  // Nesting of components, lists and collections is bounded so that a hostile form cannot
  // exhaust the stack.
  struct DepthGuard {
    explicit DepthGuard(TLineReader& Owner) : Owner_(Owner) {
      if (++Owner_.Depth_ > vaq::kMaxFormNesting) throw vaq::EReadError("Form nested too deeply");
    }
    ~DepthGuard() { --Owner_.Depth_; }
    TLineReader& Owner_;
  };

  void AddLine(const std::string& Id, std::string Value) {
    TExtractedLine Line;
    Line.Id = Id;
    Line.Data.Value = std::move(Value);
    Line.Data.Type = Type_;
    Line.Data.Open = Open_;
    Line.Data.Close = Close_;
    Lines_.push_back(std::move(Line));
    LastLine_ = static_cast<std::ptrdiff_t>(Lines_.size()) - 1;
    if (BinaryPending_) {
      Open_.clear();
      Close_.clear();
      BinaryPending_ = false;
    }
  }

  void ReadProperty(const std::string& Path) {
    const std::string Id = Path + "." + Reader_.ReadStr();
    std::string Value = ReadValue(Id);
    if (Simple_) AddLine(Id, std::move(Value));
  }

  std::string ReadValue(const std::string& Id) {
    Simple_ = true;
    const auto Kind = static_cast<TValueType>(static_cast<std::uint8_t>(Reader_.NextValue()) & 0x7F);
    switch (Kind) {
      case TValueType::vaNull:
      case TValueType::vaIdent:
      case TValueType::vaFalse:
      case TValueType::vaTrue:
      case TValueType::vaNil:
        return Reader_.ReadIdent();
      case TValueType::vaList:
        ReadList(Id);
        return {};
      case TValueType::vaInt8:
      case TValueType::vaInt16:
      case TValueType::vaInt32:
        return std::to_string(Reader_.ReadInteger());
      case TValueType::vaInt64:
        return std::to_string(Reader_.ReadInt64());
      case TValueType::vaExtended:
        return vaq::VaqFloatToStr(Reader_.ReadFloat());
      case TValueType::vaSingle:
        return vaq::VaqFloatToStr(Reader_.ReadSingle()) + "s";
      case TValueType::vaCurrency:
        return vaq::VaqFloatToStr(static_cast<long double>(Reader_.ReadCurrency())) + "c";
      case TValueType::vaDate:
        return vaq::VaqFloatToStr(Reader_.ReadDate()) + "d";
      case TValueType::vaString:
      case TValueType::vaLString:
        return vaq::values::QuoteBytes(Reader_.ReadString());
      case TValueType::vaWString:
      case TValueType::vaUTF8String:
        return QuoteWideString(Id, Reader_.ReadWideString());
      case TValueType::vaSet:
        return ReadSet();
      case TValueType::vaCollection:
        return ReadCollection(Id);
      case TValueType::vaBinary:
        return ReadBinary();
    }
    throw vaq::EReadError(vaq::Format("Unknown value kind %d", {static_cast<std::int64_t>(Kind)}));
  }

  // A wide string in the code page of the form's language; what the code page lacks becomes codes.
  // Only a character from U+0080 to U+00FF in a text without a wider one has no notation: it is
  // read as '?', and a warning says so.
  std::string QuoteWideString(const std::string& Id, std::u16string_view Text) {
    const vaq::TLCID locale = vaq::VaqGetThreadLocale();
    bool replaced = false;
    std::string value = vaq::values::EncodeStringReplacing(Text, locale, replaced);
    if (replaced) {
      std::string names;
      for (const char32_t c : vaq::values::UnheldCharacters(Text, locale))
        if (c >= 0x80 && c <= 0xFF) names += (names.empty() ? "" : ", ") + vaq::values::CharacterName(c);
      vaq::ShowWarning(FileName_ + ": " + Id + ": the code page of " + vaq::LCIDToLangName(locale) +
                       " cannot hold " + names + " in this text; it is read as '?'.");
    }
    return value;
  }

  std::string ReadSet() {
    Reader_.ReadValue();
    std::string Result = "[";
    for (std::string Name = Reader_.ReadStr(); !Name.empty(); Name = Reader_.ReadStr()) {
      if (Result.size() > 1) Result += ", ";
      Result += Name;
    }
    return Result + "]";
  }

  // A list gives one line per simple element; the first opens "(", the last closes ")".
  void ReadList(const std::string& Id) {
    DepthGuard Guard(*this);
    Reader_.ReadValue();
    OpenNested("(");
    LastLine_ = -1;
    for (int I = 0; !Reader_.EndOfList(); ++I) {
      std::string Element = ReadValue(Id);
      if (Simple_) AddLine(Id + "[" + std::to_string(I) + "]", std::move(Element));
      Open_.clear();
    }
    if (LastLine_ >= 0) {
      Open_.clear();
      Lines_[LastLine_].Data.Close += ")";
    } else {
      Open_.pop_back();  // "()" is the value; an opener still pending goes with it
      AddLine(Id, "()");
      Open_.clear();
    }
    Reader_.ReadListEnd();
    Simple_ = false;
  }

  // A collection gives the lines of its items' properties under Id[k]; items open with "item"
  // (the first with "<item") and close with "end" (the last with "end>"). While it is read, Type
  // carries "C:". An explicit item index takes a line of its own and a value of k.
  std::string ReadCollection(const std::string& Id) {
    DepthGuard Guard(*this);
    Reader_.ReadValue();
    if (Reader_.EndOfList()) {
      if (Open_.empty() || Open_.back() != '(') Open_.clear();  // a list's opener goes with "<>"
      Reader_.ReadListEnd();
      return "<>";
    }
    OpenNested("<");
    LastLine_ = -1;
    for (int K = 0; !Reader_.EndOfList(); ++K) {
      bool Content = false;
      if (Type_.find("C:") == std::string::npos) Type_ = "C:" + Type_;
      const auto Next = Reader_.NextValue();
      if (Next == TValueType::vaInt8 || Next == TValueType::vaInt16 || Next == TValueType::vaInt32) {
        Content = true;
        std::string Index = ReadValue(Id);
        AddLine(Id + "[" + std::to_string(K) + "]", std::move(Index));
        Open_.clear();  // the collection's "<" went with the index line
        ++K;
      }
      Reader_.CheckValue(TValueType::vaList);
      Open_ += "item";
      const std::string ItemPath = Id + "[" + std::to_string(K) + "]";
      while (!Reader_.EndOfList()) {
        Content = true;
        const std::string SavedType = Type_;
        ReadProperty(ItemPath);
        Type_ = SavedType;
        Open_.clear();
      }
      if (LastLine_ >= 0 && Content) Lines_[LastLine_].Data.Close += "end";
      Reader_.ReadListEnd();
      if (Content) Open_.clear();  // an item of an index alone has not used its "item" yet
      if (!Content) {
        Close_ = "end";
        AddLine(ItemPath, "");
        Open_.clear();
        Close_.clear();
      }
    }
    Open_.clear();
    if (LastLine_ >= 0)
      Lines_[LastLine_].Data.Close += ">";
    else
      AddLine(Id, "<>");
    Reader_.ReadListEnd();
    if (Type_.find("C:") != std::string::npos) Type_.erase(0, 2);
    Simple_ = false;
    return {};
  }

  // A list or collection opens with `token` on its first line. As the first element of a list it
  // keeps that list's "(" in front, so that both openers reach the line; in any other place its
  // opener replaces what is pending (collection items are rebuilt from their Ids).
  void OpenNested(std::string_view token) {
    if (Open_.empty() || Open_.back() != '(') Open_.clear();
    Open_ += token;
  }

  // Binary data is a simple value framed by "{" and "}". An opener still pending (a list or
  // collection that starts with this value) is kept in front of "{" so that it is not lost.
  std::string ReadBinary() {
    Open_ += "{";
    Close_ = "}";
    BinaryPending_ = true;
    return HexText(Reader_.ReadBinary());
  }

  vaq::TFormReader& Reader_;
  TExtractedLines& Lines_;
  const std::string& FileName_;
  std::string Type_;
  std::string Open_;
  std::string Close_;
  std::ptrdiff_t LastLine_ = -1;
  bool Simple_ = true;
  bool BinaryPending_ = false;
  int Depth_ = 0;
};

}  // namespace

namespace {

// The conversion; a conversion error raises the parser's exception.
bool Convert(vaq::TMemoryStream& Stream, const std::string& FileName, bool WarnIgnoredText) {
  vaq::TMemoryStream Converted;
  const vaq::TStreamOriginalFormat format = vaq::ObjectTextToResource(Stream, Converted);
  if (format == vaq::TStreamOriginalFormat::sofUnknown) return false;
  if (format == vaq::TStreamOriginalFormat::sofText && WarnIgnoredText) {
    if (const int line = vaq::IgnoredTextLine(Stream); line > 0)
      vaq::ShowWarning(vaq::IgnoredTextWarning(FileName, line));
  }
  Stream.Data() = std::move(Converted.Data());
  Stream.Seek(0);
  vaq::SkipResourceHeader(Stream);
  return true;
}

// A form that cannot be read, in the parser's or the reader's words: "Form1.rux: Line 3: 'end'
// expected but end of file found".
void ShowFormError(const std::string& FileName, const std::exception& Error) {
  vaq::ShowError(FileName + ": " + Error.what());
}

}  // namespace

bool ConvertFormStream(vaq::TMemoryStream& Stream, const std::string& FileName, bool WarnIgnoredText) {
  try {
    return Convert(Stream, FileName, WarnIgnoredText);
  } catch (const std::exception& error) {
    ShowFormError(FileName, error);
    return false;
  }
}

bool ConvertFormStreamQuietly(vaq::TMemoryStream& Stream) {
  try {
    return Convert(Stream, {}, false);
  } catch (const std::exception&) {
    return false;
  }
}

bool ExtractFormLines(vaq::TMemoryStream& Stream, const std::string& FileName, TExtractedLines& Lines,
                      vaq::TLCID Locale) {
  Lines.clear();
  if (!ConvertFormStream(Stream, FileName, true)) return false;
  try {
    vaq::TFormReader Reader(Stream, 4096);
    Reader.ReadSignature();
    vaq::ScopedThreadLocale LocaleScope(Locale);
    TLineReader(Reader, Lines, FileName).ReadComponent({}, 0);
    return true;
  } catch (const std::exception& error) {
    ShowFormError(FileName, error);
    return false;
  }
}

bool ExtractFormLines(const std::string& FileName, TExtractedLines& Lines, vaq::TLCID Locale) {
  Lines.clear();
  vaq::TMemoryStream Stream;
  try {
    Stream.LoadFromFile(FileName);
  } catch (const std::exception& error) {
    vaq::ShowError(error.what());
    return false;
  }
  return ExtractFormLines(Stream, FileName, Lines, Locale);
}

}  // namespace rux
