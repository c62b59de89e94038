// The core's source tokenizer for Pascal and C++ units: comments, strings and preprocessor lines
// are never tokens.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vaq {

enum TTokenType : int { ttNone = 0, ttSymbol = 1, ttIdentifier = 2, ttNumber = 3, ttString = 4 };

// Splits a whole unit into tokens once and then walks them. After InitParser the parser stands
// before the first token; the Find functions look strictly after the current token, so a found token
// is not found again. Identifiers may hold any byte >= 0x80, whatever the file's code page.
// Symbols are single characters, except ":=" in Pascal and "::" and "->" in C++.
// The text of a string token is its content: Pascal quotes and #nn codes are decoded, C++ escapes
// are kept as written. String tokens are never found by FindSingleToken or FindToken.
class TIntlParser {
 public:
  // Loads a source file; false when it cannot be read. `Pascal` selects the language's lexical rules.
  bool InitParser(const std::string& FileName, bool Pascal);
  // Moves to the next token equal (case-insensitive) to `Token`; false at the end of the file.
  bool FindSingleToken(std::string_view Token);
  // Moves to the next token equal to one of `Tokens`; false at the end of the file.
  bool FindToken(std::initializer_list<std::string_view> Tokens);
  // Advances `Count` tokens, stopping past the last one.
  void NextToken(int Count);
  // ttNone and an empty text before the first token and at the end.
  TTokenType GetTokenType() const;
  bool GetIsEOF() const;
  bool GetNotEOF() const { return !GetIsEOF(); }
  const std::string& Token() const;

 private:
  struct TToken {
    std::string Text;
    TTokenType Type = ttNone;
  };
  template <typename Match>
  bool FindFirst(Match match);

  std::vector<TToken> tokens_;
  // Index of the current token; tokens_.size() once past the last one.
  std::size_t current_ = 0;
  bool beforeFirst_ = true;
};

// The core's one tokenizer, used by one scan at a time.
TIntlParser& IntlParser();

}  // namespace vaq
