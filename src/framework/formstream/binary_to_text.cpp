// Binary form to formatted text.
//
// Layout: CR LF line ends, two blanks per level, one property per line; lists, collections and
// binary data open on the property's line and put their elements one level deeper, the closing
// bracket following the last element; strings longer than 64 characters continue one level
// deeper after " +". The text ends with a line end after the root's "end".
//
// Values the notation cannot express exactly still give text: NaN and infinite floats of every
// kind are written as "NaN", "Inf" and "-Inf" without a kind suffix; in names (classes,
// components, properties, identifiers, set elements) characters other than letters, digits, "_",
// "." and bytes from 128 up become "_", a name that does not start with a letter, "_" or a byte
// from 128 up gets a leading "_", and an empty name other than a component's is written as "_";
// set elements that are decimal integers ("5", "-5") stay as they are.
// Such texts read back to a different binary form, or not at all.
//
// Everything is appended to one string: the output stream's own bytes when its position is at its
// end, or, with a sink, a piece that is handed on once it is long enough. A token is formatted on
// the stack and appended in one go; scratch buffers are reused, so nothing is allocated per token.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <memory>
#include <string_view>

#include "host/core/conversions.h"
#include "host/core/locale.h"
#include "host/core/text.h"
#include "host/framework/formstream.h"

namespace vaq {
namespace {

constexpr std::size_t kPieceLength = 64;      // characters of a string per line
constexpr std::size_t kHexBytesPerLine = 32;  // 64 hex digits
constexpr std::size_t kReaderBuffer = 64 * 1024;
// The longest text of one character of a string: "#65535".
constexpr std::size_t kMaxUnitText = 6;
// One piece of a string with its quotes and the " +" after it.
constexpr std::size_t kPieceText = kPieceLength * kMaxUnitText + 4;

enum NameChar : std::uint8_t { kOther = 0, kInner = 1, kFirst = 2 };

constexpr std::array<std::uint8_t, 256> MakeNameTable() {
  std::array<std::uint8_t, 256> table{};
  for (int c = 0; c < 256; ++c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 128) {
      table[c] = kInner | kFirst;
    } else if ((c >= '0' && c <= '9') || c == '.') {
      table[c] = kInner;
    }
  }
  return table;
}
constexpr std::array<std::uint8_t, 256> kNameTable = MakeNameTable();

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::int64_t Offset(std::size_t position) {
  return static_cast<std::int64_t>(position);
}

// Sets of numbers hold their elements as decimal names: "-5".
bool IsInteger(std::string_view name) {
  if (name.starts_with('-')) name.remove_prefix(1);
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsFloatWord(std::string_view text) {
  return text == "NaN" || text == "Inf" || text == "-Inf";
}

class BinaryToText {
 public:
  // With a sink, the text is handed on whenever a piece of it is complete, and `out` holds only
  // the piece being made.
  BinaryToText(TMemoryStream& input, std::string& out, const TOutputSink* sink = nullptr)
      : input_(input), reader_(input, std::min(kReaderBuffer, input.Rest().size())), out_(out), sink_(sink) {}

  void Convert() {
    reader_.ReadSignature();
    Component(0, 1);
    out_.append("\r\n");
    if (sink_ && !out_.empty()) HandOn();
  }

 private:
  void HandOn() {
    (*sink_)(out_);
    out_.clear();
  }
  // Between two lines: hands the text on once a piece is complete.
  void MaybeHandOn() {
    if (sink_ && out_.size() >= kOutputPiece) HandOn();
  }

  std::size_t Remaining() const {
    const std::size_t size = input_.Size();
    return size - std::min(size, reader_.Position());
  }

  void CheckNesting(int depth, std::size_t position) {
    if (depth > kMaxFormNesting) {
      throw EReadError(Format("Nesting deeper than %d levels at offset %d",
                              {std::int64_t{kMaxFormNesting}, Offset(position)}));
    }
  }

  // Reads `count` bytes into the scratch buffer after checking that the stream holds them.
  std::string_view ReadBytes(std::uint64_t count, std::string_view what, std::size_t position) {
    if (count > Remaining()) {
      throw EReadError(Format("%s length %d runs past the end at offset %d",
                              {what, static_cast<std::int64_t>(count), Offset(position)}));
    }
    if (count > bytesCapacity_) {
      bytesCapacity_ = std::max<std::size_t>(count, 2 * bytesCapacity_);
      bytes_ = std::make_unique<char[]>(bytesCapacity_);
    }
    reader_.Read(bytes_.get(), count);
    return std::string_view(bytes_.get(), count);
  }

  using ShortString = std::array<char, 256>;

  std::string_view ReadShort(ShortString& into) {
    const std::uint8_t length = reader_.ReadByte();
    reader_.Read(into.data(), length);
    return std::string_view(into.data(), length);
  }

  void NewLine(int level) {
    out_.append("\r\n");
    out_.append(2 * static_cast<std::size_t>(level), ' ');
  }

  void AppendInteger(std::int64_t value) {
    char text[24];
    out_.append(text, std::to_chars(text, text + sizeof text, value).ptr);
  }

  void AppendFloat(const std::string& text, std::string_view suffix) {
    out_.append(text);
    if (!IsFloatWord(text)) out_.append(suffix);
  }

  void AppendName(std::string_view name, bool emptyAsUnderscore) {
    bool valid = !name.empty() && (kNameTable[static_cast<unsigned char>(name[0])] & kFirst);
    for (std::size_t i = 1; valid && i < name.size(); ++i) {
      valid = kNameTable[static_cast<unsigned char>(name[i])] & kInner;
    }
    if (valid || (name.empty() && !emptyAsUnderscore)) {
      out_.append(name);
      return;
    }
    if (name.empty() || !(kNameTable[static_cast<unsigned char>(name[0])] & kFirst)) out_.push_back('_');
    for (const char c : name) out_.push_back((kNameTable[static_cast<unsigned char>(c)] & kInner) ? c : '_');
  }

  // A string in pieces of kPieceLength characters: runs of characters from 32 up (below 128 in
  // wide strings) in quotes with the apostrophe doubled, every other character as "#n".
  template <bool kWide, typename UnitAt>
  void AppendString(std::size_t count, UnitAt unitAt, int level) {
    if (count == 0) {
      out_.append("''");
      return;
    }
    const auto quoted = [](std::uint32_t unit) { return unit >= 32 && (!kWide || unit < 128); };
    char piece[kPieceText];
    std::size_t i = 0;
    for (;;) {
      const std::size_t end = std::min(count, i + kPieceLength);
      char* p = piece;
      while (i < end) {
        std::uint32_t unit = unitAt(i);
        if (quoted(unit)) {
          *p++ = '\'';
          for (;;) {
            if (unit == '\'') *p++ = '\'';
            *p++ = static_cast<char>(unit);
            if (++i == end) break;
            unit = unitAt(i);
            if (!quoted(unit)) break;
          }
          *p++ = '\'';
        } else {
          *p++ = '#';
          p = std::to_chars(p, p + kMaxUnitText, unit).ptr;
          ++i;
        }
      }
      if (i == count) {
        out_.append(piece, p);
        return;
      }
      std::memcpy(p, " +", 2);
      out_.append(piece, p + 2);
      NewLine(level + 1);
    }
  }

  void AppendBytes(std::string_view bytes, int level) {
    AppendString<false>(
        bytes.size(), [bytes](std::size_t i) { return std::uint32_t{static_cast<unsigned char>(bytes[i])}; },
        level);
  }

  void AppendBinary(std::string_view bytes, int level) {
    if (bytes.empty()) {
      out_.append("{}");
      return;
    }
    out_.push_back('{');
    char line[2 * kHexBytesPerLine];
    for (std::size_t i = 0; i < bytes.size(); i += kHexBytesPerLine) {
      char* p = line;
      for (const char c : bytes.substr(i, kHexBytesPerLine)) {
        *p++ = kHexDigits[static_cast<unsigned char>(c) >> 4];
        *p++ = kHexDigits[static_cast<unsigned char>(c) & 15];
      }
      NewLine(level + 1);
      out_.append(line, p);
    }
    out_.push_back('}');
  }

  void Component(int level, int depth) {
    CheckNesting(depth, reader_.Position());
    std::uint8_t flags;
    std::int32_t childPos;
    reader_.ReadPrefix(flags, childPos);
    const std::string_view className = ReadShort(className_);
    const std::string_view name = ReadShort(short_);
    if (level > 0) NewLine(level);
    out_.append((flags & ffInherited) ? "inherited " : (flags & ffInline) ? "inline " : "object ");
    if (!name.empty()) {
      AppendName(name, false);
      out_.append(": ");
    }
    AppendName(className, true);
    if (flags & ffChildPos) {
      out_.append(" [");
      AppendInteger(childPos);
      out_.push_back(']');
    }
    while (!reader_.EndOfList()) {
      NewLine(level + 1);
      Property(level + 1, depth);
      MaybeHandOn();
    }
    reader_.ReadListEnd();
    while (!reader_.EndOfList()) {
      Component(level + 1, depth + 1);
      MaybeHandOn();
    }
    reader_.ReadListEnd();
    NewLine(level);
    out_.append("end");
  }

  void Property(int level, int depth) {
    AppendName(ReadShort(short_), true);
    out_.append(" = ");
    Value(level, depth);
  }

  // One value starting on a line of `level`; `depth` is the nesting of what holds it.
  void Value(int level, int depth) {
    const std::size_t position = reader_.Position();
    switch (reader_.NextValue()) {
      case TValueType::vaNull:
        reader_.ReadValue();
        out_.append("Null");
        break;
      case TValueType::vaFalse:
        reader_.ReadValue();
        out_.append("False");
        break;
      case TValueType::vaTrue:
        reader_.ReadValue();
        out_.append("True");
        break;
      case TValueType::vaNil:
        reader_.ReadValue();
        out_.append("nil");
        break;
      case TValueType::vaInt8:
      case TValueType::vaInt16:
      case TValueType::vaInt32:
      case TValueType::vaInt64:
        AppendInteger(reader_.ReadInt64());
        break;
      case TValueType::vaExtended:
        AppendFloat(VaqFloatToStr(reader_.ReadFloat()), "");
        break;
      case TValueType::vaSingle:
        AppendFloat(VaqFloatToStr(reader_.ReadSingle()), "s");
        break;
      case TValueType::vaDate:
        AppendFloat(VaqFloatToStr(reader_.ReadDate()), "d");
        break;
      case TValueType::vaCurrency:
        AppendInteger(reader_.ReadCurrency());
        out_.push_back('c');
        break;
      case TValueType::vaString:
        reader_.ReadValue();
        AppendBytes(ReadShort(short_), level);
        break;
      case TValueType::vaLString:
        reader_.ReadValue();
        AppendBytes(ReadBytes(reader_.ReadUInt32(), "String", position), level);
        break;
      case TValueType::vaWString: {
        reader_.ReadValue();
        const std::uint64_t count = reader_.ReadUInt32();
        if (2 * count > Remaining()) {
          throw EReadError(Format("Wide string length %d runs past the end at offset %d",
                                  {static_cast<std::int64_t>(count), Offset(position)}));
        }
        const std::string_view units = ReadBytes(2 * count, "Wide string", position);
        AppendString<true>(
            count,
            [units](std::size_t i) {
              return std::uint32_t{static_cast<unsigned char>(units[2 * i])} |
                     std::uint32_t{static_cast<unsigned char>(units[2 * i + 1])} << 8;
            },
            level);
        break;
      }
      case TValueType::vaUTF8String: {
        reader_.ReadValue();
        const std::string_view utf8 = ReadBytes(reader_.ReadUInt32(), "UTF-8 string", position);
        if (std::all_of(utf8.begin(), utf8.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 128; })) {
          AppendBytes(utf8, level);
        } else {
          const std::u16string units = Utf8ToUtf16(utf8);
          AppendString<true>(
              units.size(), [&units](std::size_t i) { return std::uint32_t{units[i]}; }, level);
        }
        break;
      }
      case TValueType::vaIdent:
        reader_.ReadValue();
        AppendName(ReadShort(short_), true);
        break;
      case TValueType::vaBinary:
        reader_.ReadValue();
        AppendBinary(ReadBytes(reader_.ReadUInt32(), "Binary data", position), level);
        break;
      case TValueType::vaSet:
        reader_.ReadValue();
        out_.push_back('[');
        for (bool first = true;; first = false) {
          const std::string_view element = ReadShort(short_);
          if (element.empty()) break;
          if (!first) out_.append(", ");
          if (IsInteger(element)) {
            out_.append(element);
          } else {
            AppendName(element, true);
          }
        }
        out_.push_back(']');
        break;
      case TValueType::vaList:
        reader_.ReadValue();
        CheckNesting(depth + 1, position);
        if (reader_.EndOfList()) {
          out_.append("()");
        } else {
          out_.push_back('(');
          do {
            NewLine(level + 1);
            Value(level + 1, depth + 1);
          } while (!reader_.EndOfList());
          out_.push_back(')');
        }
        reader_.ReadListEnd();
        break;
      case TValueType::vaCollection:
        reader_.ReadValue();
        CheckNesting(depth + 1, position);
        if (reader_.EndOfList()) {
          out_.append("<>");
        } else {
          out_.push_back('<');
          do {
            NewLine(level + 1);
            out_.append("item");
            const TValueType kind = reader_.NextValue();
            if (kind == TValueType::vaInt8 || kind == TValueType::vaInt16 || kind == TValueType::vaInt32) {
              out_.append(" [");
              AppendInteger(reader_.ReadInteger());
              out_.push_back(']');
            }
            reader_.CheckValue(TValueType::vaList);
            while (!reader_.EndOfList()) {
              NewLine(level + 2);
              Property(level + 2, depth + 1);
            }
            reader_.ReadListEnd();
            NewLine(level + 1);
            out_.append("end");
          } while (!reader_.EndOfList());
          out_.push_back('>');
        }
        reader_.ReadListEnd();
        break;
    }
  }

  TMemoryStream& input_;
  TFormReader reader_;
  std::string& out_;
  const TOutputSink* sink_;
  std::unique_ptr<char[]> bytes_;  // long strings and binary data
  std::size_t bytesCapacity_ = 0;
  ShortString short_;      // names and short strings
  ShortString className_;  // the class of the component being started
};

}  // namespace

// On an error Input's position and Output are left as they were.
void ObjectBinaryToText(TMemoryStream& Input, TMemoryStream& Output) {
  const std::size_t start = Input.Position();
  // Straight into Output's bytes when it is written at its end, else through a copy.
  const bool atEnd = Output.Position() == Output.Size();
  std::string copy;
  std::string& text = atEnd ? Output.Data() : copy;
  const std::size_t before = text.size();
  text.reserve(before + 2 * Input.Rest().size() + 256);
  try {
    BinaryToText(Input, text).Convert();
  } catch (...) {
    text.resize(before);
    Input.Seek(start);
    throw;
  }
  if (atEnd) {
    Output.Seek(text.size());
  } else {
    Output.Write(copy);
  }
}

void ObjectBinaryToText(TMemoryStream& Input, const TOutputSink& Sink) {
  const std::size_t start = Input.Position();
  std::string piece;
  piece.reserve(kOutputPiece + kOutputPiece / 4);
  try {
    BinaryToText(Input, piece, &Sink).Convert();
  } catch (...) {
    Input.Seek(start);
    throw;
  }
}

}  // namespace vaq
