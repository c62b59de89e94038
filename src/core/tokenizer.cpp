// Source tokenizer for Pascal and C++ units.
#include "host/core/tokenizer.h"

#include <algorithm>
#include <span>

#include "host/core/errors.h"
#include "host/core/files.h"

namespace vaq {

namespace {

bool IsIdentStart(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}
bool IsDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}
bool IsIdentChar(unsigned char c) {
  return IsIdentStart(c) || IsDigit(c);
}
bool IsHexDigit(unsigned char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// One pass over the source; every loop advances `pos_` so that any input ends.
class TLexer {
 public:
  TLexer(std::string_view src, bool pascal) : src_(src), pascal_(pascal) {}

  template <typename Emit>
  void Run(Emit emit) {
    while (pos_ < src_.size()) {
      const unsigned char c = At(pos_);
      if (c == '\n') {
        lineStart_ = true;
        ++pos_;
      } else if (c <= ' ') {
        ++pos_;
      } else if (SkipComment()) {
      } else if (!pascal_ && c == '#' && lineStart_) {
        SkipDirective();
      } else {
        std::string text;
        const TTokenType type = Lex(text);
        lineStart_ = false;
        emit(std::move(text), type);
      }
    }
  }

 private:
  unsigned char At(std::size_t i) const { return i < src_.size() ? static_cast<unsigned char>(src_[i]) : 0; }
  bool StartsWith(std::string_view s) const { return src_.substr(pos_).starts_with(s); }

  void SkipPast(std::string_view end) {
    const auto found = src_.find(end, pos_);
    pos_ = found == std::string_view::npos ? src_.size() : found + end.size();
  }

  // Skips a line comment that a backslash continues in C++.
  void SkipLineComment() {
    while (pos_ < src_.size() && src_[pos_] != '\n') {
      if (!pascal_ && src_[pos_] == '\\' && ContinuationLength(pos_) > 0) {
        pos_ += ContinuationLength(pos_);
      } else {
        ++pos_;
      }
    }
  }

  // Length of a backslash-newline (with an optional CR) at `i`, or 0.
  std::size_t ContinuationLength(std::size_t i) const {
    if (At(i) != '\\') return 0;
    if (At(i + 1) == '\n') return 2;
    if (At(i + 1) == '\r' && At(i + 2) == '\n') return 3;
    return 0;
  }

  bool SkipComment() {
    if (StartsWith("//")) {
      SkipLineComment();
    } else if (pascal_ && StartsWith("{")) {
      SkipPast("}");
    } else if (pascal_ && StartsWith("(*")) {
      pos_ += 2;
      SkipPast("*)");
    } else if (!pascal_ && StartsWith("/*")) {
      pos_ += 2;
      SkipPast("*/");
    } else {
      return false;
    }
    return true;
  }

  // A preprocessor line with its continuations; comments and strings inside it may hide its end.
  void SkipDirective() {
    while (pos_ < src_.size() && src_[pos_] != '\n') {
      const char c = src_[pos_];
      if (const std::size_t n = ContinuationLength(pos_)) {
        pos_ += n;
      } else if (StartsWith("/*")) {
        pos_ += 2;
        SkipPast("*/");
      } else if (StartsWith("//")) {
        SkipLineComment();
      } else if (c == '"' || c == '\'') {
        std::string ignored;
        ++pos_;
        CppQuoted(c, ignored);
      } else {
        ++pos_;
      }
    }
  }

  TTokenType Lex(std::string& text) {
    const unsigned char c = At(pos_);
    if (IsIdentStart(c)) return Identifier(text);
    if (IsDigit(c) || (!pascal_ && c == '.' && IsDigit(At(pos_ + 1)))) return Number(text);
    if (pascal_) {
      if (c == '\'' ||
          (c == '#' && (IsDigit(At(pos_ + 1)) || (At(pos_ + 1) == '$' && IsHexDigit(At(pos_ + 2))))))
        return PascalString(text);
      if (c == '$' && IsHexDigit(At(pos_ + 1))) {
        const std::size_t start = pos_++;
        while (IsHexDigit(At(pos_))) ++pos_;
        text = src_.substr(start, pos_ - start);
        return ttNumber;
      }
    } else if (c == '"' || c == '\'') {
      ++pos_;
      CppQuoted(static_cast<char>(c), text);
      return ttString;
    }
    static constexpr std::string_view kPascalPairs[] = {":="}, kCppPairs[] = {"::", "->"};
    for (std::string_view pair : pascal_ ? std::span<const std::string_view>(kPascalPairs)
                                         : std::span<const std::string_view>(kCppPairs)) {
      if (StartsWith(pair)) {
        pos_ += pair.size();
        text = pair;
        return ttSymbol;
      }
    }
    text = src_.substr(pos_++, 1);
    return ttSymbol;
  }

  TTokenType Identifier(std::string& text) {
    const std::size_t start = pos_;
    while (IsIdentChar(At(pos_))) ++pos_;
    text = src_.substr(start, pos_ - start);
    if (!pascal_ && (At(pos_) == '"' || At(pos_) == '\'')) {
      // Encoding prefixes and raw strings: L"", u8"", R"x(...)x".
      static constexpr std::string_view kPrefixes[] = {"L", "u", "U", "u8"};
      static constexpr std::string_view kRawPrefixes[] = {"R", "LR", "uR", "UR", "u8R"};
      const char quote = src_[pos_];
      if (quote == '"' && std::ranges::find(kRawPrefixes, std::string_view(text)) != std::end(kRawPrefixes)) {
        ++pos_;
        RawString(text);
        return ttString;
      }
      if (std::ranges::find(kPrefixes, std::string_view(text)) != std::end(kPrefixes)) {
        ++pos_;
        CppQuoted(quote, text);
        return ttString;
      }
    }
    return ttIdentifier;
  }

  TTokenType Number(std::string& text) {
    const std::size_t start = pos_;
    if (pascal_) {
      while (IsDigit(At(pos_))) ++pos_;
      if (At(pos_) == '.' && IsDigit(At(pos_ + 1))) {  // not the range "1..9"
        ++pos_;
        while (IsDigit(At(pos_))) ++pos_;
      }
      if ((At(pos_) == 'e' || At(pos_) == 'E') &&
          (IsDigit(At(pos_ + 1)) ||
           ((At(pos_ + 1) == '+' || At(pos_ + 1) == '-') && IsDigit(At(pos_ + 2))))) {
        pos_ += 2;
        while (IsDigit(At(pos_))) ++pos_;
      }
    } else {
      // Digits, letters (hex digits, exponents, suffixes), '.', digit separators and exponent signs.
      while (true) {
        const unsigned char c = At(pos_);
        const unsigned char prev = AsciiLower(static_cast<char>(At(pos_ - 1)));
        if (IsIdentChar(c) || c == '.' || (c == '\'' && IsIdentChar(At(pos_ + 1))) ||
            ((c == '+' || c == '-') && (prev == 'e' || prev == 'p'))) {
          ++pos_;
        } else {
          break;
        }
      }
    }
    text = src_.substr(start, pos_ - start);
    return ttNumber;
  }

  // After the opening quote: up to the closing quote or the end of the line; escapes stay as written.
  void CppQuoted(char quote, std::string& text) {
    text.clear();
    while (pos_ < src_.size()) {
      const char c = src_[pos_];
      if (c == quote) {
        ++pos_;
        return;
      }
      if (c == '\n') return;
      if (c == '\\' && pos_ + 1 < src_.size()) {
        text += src_.substr(pos_, 2);
        pos_ += 2;
      } else {
        text += c;
        ++pos_;
      }
    }
  }

  // After R": delimiter '(' ... ')' delimiter '"'.
  void RawString(std::string& text) {
    text.clear();
    const auto open = src_.find('(', pos_);
    if (open == std::string_view::npos || open - pos_ > 16) {  // not a raw string: an ordinary one
      CppQuoted('"', text);
      return;
    }
    const std::string close = ")" + std::string(src_.substr(pos_, open - pos_)) + "\"";
    const auto end = src_.find(close, open + 1);
    if (end == std::string_view::npos) {
      text = src_.substr(open + 1);
      pos_ = src_.size();
    } else {
      text = src_.substr(open + 1, end - open - 1);
      pos_ = end + close.size();
    }
  }

  // Quoted parts with '' for a quote, and #65 or #$41 character codes, in any sequence.
  TTokenType PascalString(std::string& text) {
    while (pos_ < src_.size()) {
      if (At(pos_) == '\'') {
        ++pos_;
        while (pos_ < src_.size() && src_[pos_] != '\n' && src_[pos_] != '\r') {
          if (src_[pos_] == '\'') {
            if (At(pos_ + 1) != '\'') break;
            ++pos_;
          }
          text += src_[pos_++];
        }
        if (At(pos_) == '\'') ++pos_;
      } else if (At(pos_) == '#' && IsDigit(At(pos_ + 1))) {
        unsigned code = 0;
        for (++pos_; IsDigit(At(pos_)); ++pos_) code = std::min(code * 10 + (At(pos_) - '0'), 0xFFFFu);
        text += static_cast<char>(code);
      } else if (At(pos_) == '#' && At(pos_ + 1) == '$' && IsHexDigit(At(pos_ + 2))) {
        unsigned code = 0;
        for (pos_ += 2; IsHexDigit(At(pos_)); ++pos_) {
          const unsigned char d = At(pos_);
          code = std::min(code * 16 + (IsDigit(d) ? d - '0' : (AsciiLower(d) - 'a' + 10)), 0xFFFFu);
        }
        text += static_cast<char>(code);
      } else {
        break;
      }
    }
    return ttString;
  }

  std::string_view src_;
  bool pascal_;
  std::size_t pos_ = 0;
  bool lineStart_ = true;
};

}  // namespace

bool TIntlParser::InitParser(const std::string& FileName, bool Pascal) {
  tokens_.clear();
  current_ = 0;
  beforeFirst_ = true;
  std::string source;
  try {
    source = ReadFileBytes(FileName);
  } catch (const EFileError&) {
    return false;
  }
  TLexer(source, Pascal).Run([this](std::string text, TTokenType type) {
    tokens_.push_back(TToken{std::move(text), type});
  });
  return true;
}

template <typename Match>
bool TIntlParser::FindFirst(Match match) {
  std::size_t i = beforeFirst_ ? 0 : std::min(current_ + 1, tokens_.size());
  beforeFirst_ = false;
  for (; i < tokens_.size(); ++i) {
    if (tokens_[i].Type != ttString && match(tokens_[i].Text)) {
      current_ = i;
      return true;
    }
  }
  current_ = tokens_.size();
  return false;
}

bool TIntlParser::FindSingleToken(std::string_view Token) {
  return FindFirst([Token](const std::string& text) { return SameText(text, Token); });
}

bool TIntlParser::FindToken(std::initializer_list<std::string_view> Tokens) {
  return FindFirst([Tokens](const std::string& text) {
    return std::ranges::any_of(Tokens, [&text](std::string_view t) { return SameText(text, t); });
  });
}

void TIntlParser::NextToken(int Count) {
  if (Count <= 0) return;
  std::size_t steps = static_cast<std::size_t>(Count);
  if (beforeFirst_) {
    beforeFirst_ = false;
    current_ = 0;
    --steps;
  }
  current_ = std::min(current_ + std::min(steps, tokens_.size()), tokens_.size());
}

TTokenType TIntlParser::GetTokenType() const {
  return beforeFirst_ || current_ >= tokens_.size() ? ttNone : tokens_[current_].Type;
}

bool TIntlParser::GetIsEOF() const {
  return beforeFirst_ ? tokens_.empty() : current_ >= tokens_.size();
}

const std::string& TIntlParser::Token() const {
  static const std::string kNone;
  return beforeFirst_ || current_ >= tokens_.size() ? kNone : tokens_[current_].Text;
}

TIntlParser& IntlParser() {
  static TIntlParser parser;
  return parser;
}

}  // namespace vaq
