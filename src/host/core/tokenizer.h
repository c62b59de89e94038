// The core's source tokenizer for Pascal and C++ units: comments, strings and preprocessor lines
// are never tokens.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace vaq {

enum TTokenType : int { ttNone = 0, ttSymbol = 1, ttIdentifier = 2, ttNumber = 3, ttString = 4 };

class TIntlParser {
 public:
  // Loads a source file; false when it cannot be read. `Pascal` selects the language's lexical rules.
  bool InitParser(const std::string& FileName, bool Pascal);
  // Moves to the next token equal (case-insensitive) to `Token`; false at the end of the file.
  bool FindSingleToken(std::string_view Token);
  // Moves to the next token equal to one of `Tokens`; false at the end of the file.
  bool FindToken(std::initializer_list<std::string_view> Tokens);
  // Advances `Count` tokens.
  void NextToken(int Count);
  TTokenType GetTokenType() const;
  bool GetIsEOF() const;
  bool GetNotEOF() const { return !GetIsEOF(); }
  const std::string& Token() const;
};

// The core's one tokenizer, used by one scan at a time.
TIntlParser& IntlParser();

}  // namespace vaq
