// Form text to the binary form: a hand-written lexer and recursive-descent parser over the whole
// input as one string_view, writing straight into one TFormWriter buffer.
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "host/core/conversions.h"
#include "host/core/locale.h"
#include "host/framework/formstream.h"

namespace vaq {
namespace {

// Character classes of the lexer, one table lookup per byte.
enum : std::uint8_t {
  kSpace = 1,       // blank, tab, CR, LF
  kIdentStart = 2,  // letter, '_', byte >= 0x80
  kIdentPart = 4,   // kIdentStart and digits
  kDigit = 8,
  kNumberPart = 16,  // what a number or character code token may hold: kIdentPart, '.', '$'
  kQuoteStop = 32,   // ends a quoted run: apostrophe, CR, LF
};

constexpr std::array<std::uint8_t, 256> MakeClassTable() {
  std::array<std::uint8_t, 256> table{};
  for (int c = 0; c < 256; ++c) {
    std::uint8_t bits = 0;
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
    const bool digit = c >= '0' && c <= '9';
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') bits |= kSpace;
    if (letter) bits |= kIdentStart | kIdentPart | kNumberPart;
    if (digit) bits |= kDigit | kIdentPart | kNumberPart;
    if (c == '.' || c == '$') bits |= kNumberPart;
    if (c == '\'' || c == '\r' || c == '\n') bits |= kQuoteStop;
    table[static_cast<std::size_t>(c)] = bits;
  }
  return table;
}

constexpr std::array<std::int8_t, 256> MakeHexTable() {
  std::array<std::int8_t, 256> table{};
  for (int c = 0; c < 256; ++c) {
    std::int8_t value = -1;
    if (c >= '0' && c <= '9') value = static_cast<std::int8_t>(c - '0');
    if (c >= 'A' && c <= 'F') value = static_cast<std::int8_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') value = static_cast<std::int8_t>(c - 'a' + 10);
    table[static_cast<std::size_t>(c)] = value;
  }
  return table;
}

constexpr std::array<std::uint8_t, 256> kClass = MakeClassTable();
constexpr std::array<std::int8_t, 256> kHex = MakeHexTable();

constexpr std::size_t kMaxName = 255;
constexpr std::size_t kMaxShown = 40;

inline bool Is(char c, std::uint8_t bits) {
  return (kClass[static_cast<unsigned char>(c)] & bits) != 0;
}

// Keywords are ASCII letters; OR-ing 0x20 lowers letters and maps no other byte onto one.
bool IsWord(std::string_view text, std::string_view lower_keyword) {
  if (text.size() != lower_keyword.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((text[i] | 0x20) != lower_keyword[i]) return false;
  }
  return true;
}

enum class Keyword { kNone, kObject, kInherited, kInline, kEnd };

Keyword KeywordOf(std::string_view word) {
  if (word.size() < 3 || word.size() > 9) return Keyword::kNone;
  if (IsWord(word, "end")) return Keyword::kEnd;
  if (IsWord(word, "object")) return Keyword::kObject;
  if (IsWord(word, "inherited")) return Keyword::kInherited;
  if (IsWord(word, "inline")) return Keyword::kInline;
  return Keyword::kNone;
}

// Reserved words of the language behind forms; they never name a value.
bool IsReserved(std::string_view word) {
  const Keyword keyword = KeywordOf(word);
  return keyword == Keyword::kEnd || keyword == Keyword::kObject || keyword == Keyword::kInherited;
}

bool StartsComponent(Keyword keyword) {
  return keyword == Keyword::kObject || keyword == Keyword::kInherited || keyword == Keyword::kInline;
}

class TextParser {
 public:
  // With a sink, the binary form is handed on whenever a piece of it is complete, and the writer
  // holds only the piece being made.
  TextParser(std::string_view text, TFormWriter& writer, const TOutputSink* sink = nullptr)
      : begin_(text.data()), cur_(text.data()), end_(text.data() + text.size()), out_(writer), sink_(sink) {}

  void Run() {
    if (end_ - cur_ >= 3 && std::string_view(cur_, 3) == "\xEF\xBB\xBF") cur_ += 3;
    SkipWhite();
    const char* at = cur_;
    const Keyword keyword = AtIdent() ? KeywordOf(ScanName(false)) : Keyword::kNone;
    if (!StartsComponent(keyword)) {
      cur_ = at;
      Expected("'object'");
    }
    out_.WriteSignature();
    ParseComponent(at, keyword, 1);
    SkipWhite();  // what follows the root and its white space stays unread
    if (sink_ && !out_.Data().empty()) HandOn();
  }

  // How much of the text the root object took, with the white space behind its final "end".
  std::size_t Consumed() const { return static_cast<std::size_t>(cur_ - begin_); }

 private:
  // --- Lexer -----------------------------------------------------------------------------------

  void SkipWhite() {
    while (cur_ != end_ && Is(*cur_, kSpace)) ++cur_;
  }
  bool AtChar(char c) const { return cur_ != end_ && *cur_ == c; }
  bool AtIdent() const { return cur_ != end_ && Is(*cur_, kIdentStart); }
  bool AtNumber() const { return cur_ != end_ && (*cur_ == '-' || *cur_ == '$' || Is(*cur_, kDigit)); }

  // A name at the cursor (which must be at an identifier start); dotted joins parts with '.'.
  std::string_view ScanName(bool dotted) {
    const char* start = cur_;
    for (;;) {
      ++cur_;
      while (cur_ != end_ && Is(*cur_, kIdentPart)) ++cur_;
      if (!dotted || end_ - cur_ < 2 || *cur_ != '.' || !Is(cur_[1], kIdentStart)) break;
      ++cur_;
    }
    const std::string_view name(start, static_cast<std::size_t>(cur_ - start));
    if (name.size() > kMaxName) {
      Fail(start, "Name longer than 255 bytes: " + Quoted(name));
    }
    return name;
  }

  // The extent of a number or character code token: a leading run of signs, then digits, letters,
  // '.', '$', and a sign right after an exponent letter of a decimal number.
  std::string_view ScanNumberToken(const char* start) const {
    const char* p = start;
    while (p != end_ && (*p == '-' || *p == '+')) ++p;
    const bool hex = p != end_ && *p == '$';
    while (p != end_) {
      if (Is(*p, kNumberPart)) {
        ++p;
      } else if (!hex && (*p == '+' || *p == '-') && (p[-1] == 'e' || p[-1] == 'E')) {
        ++p;
      } else {
        break;
      }
    }
    return {start, static_cast<std::size_t>(p - start)};
  }

  // --- Errors ----------------------------------------------------------------------------------

  // Lines are counted only when an error is raised, which keeps the scanning loops free of it.
  int LineOf(const char* at) const {
    if (at == end_) {
      while (at != begin_ && Is(at[-1], kSpace)) --at;  // end of file: the line of the last token
    }
    int line = 1;
    for (const char* p = begin_; p < at; ++p) {
      if (*p == '\n') {
        ++line;
      } else if (*p == '\r') {
        ++line;
        if (p + 1 < at && p[1] == '\n') ++p;
      }
    }
    return line;
  }

  static std::string Quoted(std::string_view token) {
    if (token.size() > kMaxShown) return "'" + std::string(token.substr(0, kMaxShown)) + "...'";
    return "'" + std::string(token) + "'";
  }

  // The token at `at` as error messages show it.
  std::string Describe(const char* at) const {
    if (at == end_) return "end of file";
    const unsigned char c = static_cast<unsigned char>(*at);
    const char* p = at + 1;
    if (Is(*at, kIdentStart)) {
      while (p != end_ && (Is(*p, kIdentPart) || *p == '.')) ++p;
    } else if (c == '-' || c == '$' || c == '#' || Is(*at, kDigit)) {
      p = at + (c == '#' ? 1 : 0);
      p += ScanNumberToken(p).size();
    } else if (c == '\'') {
      while (p != end_ && !Is(*p, kQuoteStop)) ++p;
      if (p != end_ && *p == '\'') ++p;
    } else if (c < 32 || c == 127) {
      return "character #" + std::to_string(c);
    }
    return Quoted(std::string_view(at, static_cast<std::size_t>(p - at)));
  }

  [[noreturn]] void Fail(const char* at, const std::string& message) const {
    throw EParserError(LineOf(at), message);
  }
  [[noreturn]] void Expected(std::string_view what) const {
    Fail(cur_, std::string(what) + " expected but " + Describe(cur_) + " found");
  }
  void CheckDepth(const char* at, int depth) const {
    if (depth > kMaxFormNesting) {
      Fail(at, "Nesting deeper than " + std::to_string(kMaxFormNesting) + " levels");
    }
  }

  // --- Components ------------------------------------------------------------------------------

  // The keyword has been read; `at` is where it starts.
  void ParseComponent(const char* at, Keyword keyword, int depth) {
    CheckDepth(at, depth);
    std::uint8_t flags = keyword == Keyword::kInherited ? ffInherited
                         : keyword == Keyword::kInline  ? ffInline
                                                        : 0;
    SkipWhite();
    if (!AtIdent()) Expected("Class name");
    std::string_view name;
    std::string_view class_name = ScanName(true);
    SkipWhite();
    if (AtChar(':')) {
      ++cur_;
      SkipWhite();
      if (!AtIdent()) Expected("Class name");
      name = class_name;
      class_name = ScanName(true);
      SkipWhite();
    }
    std::int32_t child_pos = 0;
    if (AtChar('[')) {
      ++cur_;
      SkipWhite();
      child_pos = ParseInt32Token();
      flags |= ffChildPos;
      SkipWhite();
      if (!AtChar(']')) Expected("']'");
      ++cur_;
    }
    out_.WriteComponentHeader(flags, child_pos, class_name, name);

    const char* next_at = nullptr;
    Keyword next = ParseProperties(depth, false, next_at);
    out_.WriteListEnd();
    while (StartsComponent(next)) {
      ParseComponent(next_at, next, depth + 1);
      SkipWhite();
      next_at = cur_;
      if (!AtIdent()) Expected("'end'");
      next = KeywordOf(ScanName(true));
      if (next == Keyword::kNone) {
        cur_ = next_at;
        Expected("'end'");
      }
    }
    out_.WriteListEnd();
  }

  // Properties up to a keyword, which is consumed and returned with its position. A word followed
  // by '=' is always a property, so that properties may carry a keyword's name. Inside a
  // collection item only "end" ends the properties.
  Keyword ParseProperties(int depth, bool in_item, const char*& keyword_at) {
    for (;;) {
      SkipWhite();
      const char* at = cur_;
      if (!AtIdent()) Expected("'end'");
      const std::string_view name = ScanName(true);
      SkipWhite();
      if (!AtChar('=')) {
        const Keyword keyword = KeywordOf(name);
        if (keyword == Keyword::kEnd || (!in_item && keyword != Keyword::kNone)) {
          keyword_at = at;
          return keyword;
        }
        if (keyword != Keyword::kNone || IsWord(name, "item")) {
          cur_ = at;
          Expected("'end'");
        }
        Expected("'='");
      }
      ++cur_;
      SkipWhite();
      out_.WriteStr(name);
      ParseValue(depth, "Value");
      // Between two properties: hands the binary form on once a piece is complete.
      if (sink_ && out_.Data().size() >= kOutputPiece) HandOn();
    }
  }

  void HandOn() {
    (*sink_)(out_.Data());
    out_.Data().clear();
  }

  // --- Values ----------------------------------------------------------------------------------

  // `expected` names what the context wants when no value starts at the cursor: "')'" in a list.
  void ParseValue(int depth, std::string_view expected, bool in_list = false) {
    if (cur_ == end_) Expected(expected);
    switch (*cur_) {
      case '\'':
      case '#':
        ParseString();
        return;
      case '[':
        ParseSet();
        return;
      case '(':
        ParseList(depth + 1);
        return;
      case '<':
        ParseCollection(depth + 1);
        return;
      case '{':
        ParseBinary();
        return;
      default:
        break;
    }
    if (AtNumber()) {
      ParseNumber();
    } else if (AtIdent()) {
      // Reserved words are no values: "Caption =" followed by "end" is a missing value.
      const char* at = cur_;
      const std::string_view name = ScanName(true);
      if (IsReserved(name)) {
        cur_ = at;
        Expected(expected);
      }
      // Null is kind 0, the byte that ends a list.
      if (in_list && IsWord(name, "null")) Fail(at, "Null is not allowed in a list");
      out_.WriteIdent(name);
    } else {
      Expected(expected);
    }
  }

  void ParseList(int depth) {
    CheckDepth(cur_, depth);
    ++cur_;
    out_.WriteValue(TValueType::vaList);
    for (;;) {
      SkipWhite();
      if (AtChar(')')) break;
      ParseValue(depth, "')'", true);
    }
    ++cur_;
    out_.WriteListEnd();
  }

  // Binary form of a collection: kind 14, then per item an optional index (an integer value),
  // kind 1, its properties and a 0; a final 0.
  void ParseCollection(int depth) {
    CheckDepth(cur_, depth);
    ++cur_;
    out_.WriteValue(TValueType::vaCollection);
    for (;;) {
      SkipWhite();
      if (AtChar('>')) break;
      const char* at = cur_;
      if (!AtIdent() || !IsWord(ScanName(false), "item")) {
        cur_ = at;
        const bool closes = !AtIdent() || KeywordOf(ScanName(false)) != Keyword::kNone;
        cur_ = at;
        Expected(closes ? "'>'" : "'item'");
      }
      SkipWhite();
      if (AtChar('[')) {
        ++cur_;
        SkipWhite();
        out_.WriteInteger(ParseInt32Token());
        SkipWhite();
        if (!AtChar(']')) Expected("']'");
        ++cur_;
      }
      out_.WriteValue(TValueType::vaList);
      const char* end_at = nullptr;
      ParseProperties(depth, true, end_at);
      out_.WriteListEnd();
    }
    ++cur_;
    out_.WriteListEnd();
  }

  // Set elements are names, or integers for sets of numbers; the empty name ends the set.
  void ParseSet() {
    ++cur_;
    out_.WriteValue(TValueType::vaSet);
    SkipWhite();
    if (!AtChar(']')) {
      for (;;) {
        if (AtIdent()) {
          const char* at = cur_;
          const std::string_view name = ScanName(false);
          if (IsReserved(name)) {
            cur_ = at;
            Expected("Set element");
          }
          out_.WriteStr(name);
        } else if (AtNumber()) {
          const char* at = cur_;
          const std::string_view token = ScanNumberToken(at);
          const std::string_view digits = token.substr(token.front() == '-' ? 1 : 0);
          if (digits.empty() || token.size() > kMaxName ||
              digits.find_first_not_of("0123456789") != std::string_view::npos) {
            Fail(at, "Invalid set element " + Quoted(token));
          }
          cur_ += token.size();
          out_.WriteStr(token);
        } else {
          Expected("Set element");
        }
        SkipWhite();
        if (AtChar(']')) break;
        if (!AtChar(',')) Expected("',' or ']'");
        ++cur_;
        SkipWhite();
      }
    }
    ++cur_;
    out_.WriteStr("");
  }

  // Hex digits with white space anywhere; pairs of adjacent digits take the fast path. The
  // scratch buffer is sized for the text up to the next '}', so decoding writes without checks.
  void ParseBinary() {
    const char* open = cur_;
    ++cur_;
    const void* close = std::memchr(cur_, '}', static_cast<std::size_t>(end_ - cur_));
    const char* limit = close != nullptr ? static_cast<const char*>(close) : end_;
    bytes_.resize(static_cast<std::size_t>(limit - cur_) / 2);
    char* const first = bytes_.data();
    char* write = first;
    int high = -1;
    for (;;) {
      while (high < 0 && end_ - cur_ >= 2) {
        const int a = kHex[static_cast<unsigned char>(cur_[0])];
        const int b = kHex[static_cast<unsigned char>(cur_[1])];
        if ((a | b) < 0) break;
        *write++ = static_cast<char>(a << 4 | b);
        cur_ += 2;
      }
      if (cur_ == end_) Expected("Hex digit or '}'");
      const int digit = kHex[static_cast<unsigned char>(*cur_)];
      if (digit >= 0) {
        if (high < 0) {
          high = digit;
        } else {
          *write++ = static_cast<char>(high << 4 | digit);
          high = -1;
        }
      } else if (*cur_ == '}') {
        break;
      } else if (!Is(*cur_, kSpace)) {
        Expected("Hex digit or '}'");
      }
      ++cur_;
    }
    ++cur_;
    if (high >= 0) Fail(open, "Odd number of hex digits in binary data");
    out_.WriteBinary(std::string_view(first, static_cast<std::size_t>(write - first)));
  }

  // An integer value: ["-"] digits or "$" hex digits (a 64-bit pattern).
  std::int64_t ParseIntegerToken() {
    if (!AtNumber()) Expected("Integer");
    const char* at = cur_;
    const std::string_view token = ScanNumberToken(at);
    cur_ += token.size();
    if (token.front() == '$') return HexValue(at, token);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (end != token.data() + token.size()) {
      Fail(at, "Integer expected but " + Quoted(token) + " found");
    }
    if (error == std::errc::result_out_of_range) Fail(at, "Integer out of range");
    return value;
  }

  // Child positions and item indices are 32-bit in the binary form.
  std::int32_t ParseInt32Token() {
    const char* at = cur_;
    const std::int64_t value = ParseIntegerToken();
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
      Fail(at, "Integer out of range");
    }
    return static_cast<std::int32_t>(value);
  }

  std::int64_t HexValue(const char* at, std::string_view token) const {
    std::string_view digits = token.substr(1);
    if (digits.empty()) Fail(at, "Invalid number " + Quoted(token));
    std::uint64_t value = 0;
    int significant = 0;
    for (const char c : digits) {
      const int digit = kHex[static_cast<unsigned char>(c)];
      if (digit < 0) Fail(at, "Invalid number " + Quoted(token));
      if (value != 0 || digit != 0) ++significant;
      value = value << 4 | static_cast<unsigned>(digit);
    }
    if (significant > 16) Fail(at, "Integer out of range");
    return static_cast<std::int64_t>(value);
  }

  // Integers go to the smallest integer kind; a '.', an exponent or a suffix makes a float:
  // "s" single, "d" date, "c" currency (the stored value x 10000, rounded half away from zero), no
  // suffix extended. Each is read directly in its own precision, so it is rounded once.
  void ParseNumber() {
    const char* at = cur_;
    const std::string_view token = ScanNumberToken(at);
    cur_ += token.size();
    if (token.front() == '$') {
      out_.WriteInteger(HexValue(at, token));
      return;
    }
    const auto invalid = [&] { Fail(at, "Invalid number " + Quoted(token)); };
    std::size_t i = token.front() == '-' ? 1 : 0;
    const auto digits = [&] {
      const std::size_t first = i;
      while (i < token.size() && Is(token[i], kDigit)) ++i;
      return i > first;
    };
    if (!digits()) invalid();
    bool is_float = false;
    if (i < token.size() && token[i] == '.') {
      ++i;
      digits();
      is_float = true;
    }
    if (i < token.size() && (token[i] | 0x20) == 'e') {
      ++i;
      if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
      if (!digits()) invalid();
      is_float = true;
    }
    const std::string_view number = token.substr(0, i);
    if (i == token.size()) {
      if (is_float) {
        out_.WriteFloat(ReadFloat<long double>(at, token, number));
      } else {
        out_.WriteInteger(ReadInteger(at, number));
      }
      return;
    }
    if (i + 1 != token.size()) invalid();
    switch (token[i] | 0x20) {
      case 's':
        out_.WriteSingle(ReadFloat<float>(at, token, number));
        return;
      case 'd':
        out_.WriteDate(ReadFloat<double>(at, token, number));
        return;
      case 'c':
        out_.WriteCurrency(is_float ? RoundCurrency(at, ReadFloat<long double>(at, token, number))
                                    : ReadInteger(at, number));
        return;
      default:
        invalid();
    }
  }

  std::int64_t ReadInteger(const char* at, std::string_view number) const {
    std::int64_t value = 0;
    if (std::from_chars(number.data(), number.data() + number.size(), value).ec != std::errc()) {
      Fail(at, "Integer out of range");
    }
    return value;
  }

  // The syntax is checked already, so the core's reader can only refuse a value out of range.
  template <typename T>
  T ReadFloat(const char* at, std::string_view token, std::string_view number) const {
    try {
      if constexpr (std::is_same_v<T, float>) {
        return VaqStrToSingle(number);
      } else if constexpr (std::is_same_v<T, double>) {
        return VaqStrToDouble(number);
      } else {
        return VaqStrToFloat(number);
      }
    } catch (const EConvertError&) {
      Fail(at, "Number out of range " + Quoted(token));
    }
  }

  std::int64_t RoundCurrency(const char* at, long double value) const {
    constexpr long double kLimit = 9223372036854775808.0L;  // 2^63
    const long double rounded = std::round(value);
    if (!(rounded >= -kLimit && rounded < kLimit)) Fail(at, "Currency out of range");
    return static_cast<std::int64_t>(rounded);
  }

  // --- Strings ---------------------------------------------------------------------------------

  // Most strings are 8-bit; a code above 255 restarts the string in wide mode.
  void ParseString() {
    const char* start = cur_;
    if (ScanString(false)) {
      out_.WriteString(text_);
      return;
    }
    cur_ = start;
    ScanString(true);
    out_.WriteWideString(wide_);
  }

  // Reads the pieces of a string into text_ (8-bit) or wide_. In wide mode text_ holds the pending
  // run of quoted bytes, converted as a whole at the next code or at the end, because double-byte
  // code pages must not be converted byte by byte. Returns false in 8-bit mode at a code above 255.
  bool ScanString(bool wide) {
    text_.clear();
    wide_.clear();
    for (;;) {
      const char* piece = cur_;
      if (*cur_ == '\'') {
        ++cur_;
        for (;;) {
          const char* run = cur_;
          while (cur_ != end_ && !Is(*cur_, kQuoteStop)) ++cur_;
          text_.append(run, static_cast<std::size_t>(cur_ - run));
          if (cur_ == end_ || *cur_ != '\'') Fail(piece, "Unterminated string");
          ++cur_;
          if (cur_ == end_ || *cur_ != '\'') break;
          text_.push_back('\'');
          ++cur_;
        }
      } else {
        const unsigned code = ParseCharCode();
        if (!wide) {
          if (code > 255) return false;
          text_.push_back(static_cast<char>(code));
        } else {
          FlushRun();
          wide_.push_back(static_cast<char16_t>(code));
        }
      }
      if (AtChar('\'') || AtChar('#')) continue;
      const char* after = cur_;
      SkipWhite();
      if (!AtChar('+')) {
        cur_ = after;
        break;
      }
      ++cur_;
      SkipWhite();
      if (!AtChar('\'') && !AtChar('#')) Expected("String");
    }
    if (wide) FlushRun();
    return true;
  }

  void FlushRun() {
    if (text_.empty()) return;
    if (!locale_) locale_ = VaqGetThreadLocale();
    wide_ += StringToWideString(*locale_, text_);
    text_.clear();
  }

  // "#" decimal or "#$" hex, at most 65535.
  unsigned ParseCharCode() {
    const char* at = cur_;
    const std::string_view token(at, 1 + ScanNumberToken(at + 1).size());
    cur_ += token.size();
    const bool hex = token.size() > 1 && token[1] == '$';
    const std::string_view digits = token.substr(hex ? 2 : 1);
    if (digits.empty()) Fail(at, "Invalid character code " + Quoted(token));
    unsigned code = 0;
    for (const char c : digits) {
      const int digit = hex ? kHex[static_cast<unsigned char>(c)] : (Is(c, kDigit) ? c - '0' : -1);
      if (digit < 0) Fail(at, "Invalid character code " + Quoted(token));
      if (code <= 0xFFFF) code = code * (hex ? 16 : 10) + static_cast<unsigned>(digit);
    }
    if (code > 0xFFFF) Fail(at, "Character code out of range " + Quoted(token));
    return code;
  }

  const char* begin_;
  const char* cur_;
  const char* end_;
  TFormWriter& out_;
  const TOutputSink* sink_;
  std::string text_;             // the current 8-bit string, reused
  std::u16string wide_;          // the current wide string, reused
  std::string bytes_;            // the current binary data, reused
  std::optional<TLCID> locale_;  // the thread locale, read at the first wide string
};

}  // namespace

void ObjectTextToBinary(TMemoryStream& Input, TMemoryStream& Output) {
  const std::string_view text = Input.Rest();
  TFormWriter writer;
  writer.Data().reserve(text.size() + 16);
  TextParser parser(text, writer);
  parser.Run();
  Input.Seek(Input.Position() + parser.Consumed());
  if (Output.Size() == 0 && Output.Position() == 0) {
    Output.Data() = std::move(writer.Data());
    Output.Seek(Output.Size());
  } else {
    Output.Write(writer.Data());
  }
}

std::size_t ObjectTextToBinary(std::string_view Text, std::string& Binary) {
  TFormWriter writer;
  writer.Data() = std::move(Binary);
  const std::size_t before = writer.Data().size();
  writer.Data().reserve(before + Text.size() + 16);
  try {
    TextParser parser(Text, writer);
    parser.Run();
    Binary = std::move(writer.Data());
    return parser.Consumed();
  } catch (...) {
    writer.Data().resize(before);
    Binary = std::move(writer.Data());
    throw;
  }
}

std::size_t ObjectTextToBinary(std::string_view Text, const TOutputSink& Sink) {
  TFormWriter writer;
  writer.Data().reserve(std::min(Text.size(), kOutputPiece) + kOutputPiece / 4);
  TextParser parser(Text, writer, &Sink);
  parser.Run();
  return parser.Consumed();
}

int IgnoredTextLine(const TMemoryStream& Stream) {
  return IgnoredTextLine(Stream.All(), Stream.Position());
}

int IgnoredTextLine(std::string_view Text, std::size_t Consumed) {
  const std::string_view data = Text;
  std::size_t at = Consumed;
  while (at < data.size() && Is(data[at], kSpace)) ++at;
  if (at >= data.size()) return 0;
  int line = 1;
  for (std::size_t i = 0; i < at; ++i) {
    if (data[i] == '\n') {
      ++line;
    } else if (data[i] == '\r') {
      ++line;
      if (i + 1 < at && data[i + 1] == '\n') ++i;
    }
  }
  return line;
}

std::string IgnoredTextWarning(std::string_view FileName, int Line) {
  return std::string(FileName) + ": Line " + std::to_string(Line) +
         ": text after the form's final 'end' is not part of the form and is ignored";
}

}  // namespace vaq
