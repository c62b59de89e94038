// Source tokenizer: the form-class discovery patterns its callers use, and lexical edge cases.
#include "host/core/tokenizer.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vaq {
namespace {

class Tokenizer : public ::testing::Test {
 protected:
  std::string Write(const std::string& text) {
    const auto path = dir_ / ("unit" + std::to_string(++count_));
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  // The Pascal caller: the ancestor of TForm2, or "" when none is declared.
  std::string PascalAncestor(const std::string& source) {
    TIntlParser& p = IntlParser();
    EXPECT_TRUE(p.InitParser(Write(source), true));
    while (p.FindSingleToken("TForm2")) {
      if (!p.FindToken({"class", ":", ";", "end"})) break;
      if (p.Token() == "class") {
        p.NextToken(1);
        if (p.Token() != "(") return "";
        p.NextToken(1);
        return p.Token();
      }
    }
    return "";
  }

  // The C++ caller: the ancestor of TForm2, or "" when none is declared.
  std::string CppAncestor(const std::string& source) {
    TIntlParser& p = IntlParser();
    EXPECT_TRUE(p.InitParser(Write(source), false));
    while (p.FindSingleToken("class")) {
      if (!p.FindToken({"TForm2", ":", "{", ";"})) break;
      if (p.Token() != "TForm2") continue;
      if (p.FindToken({":", "{", ";"}) && p.Token() == ":") {
        p.NextToken(2);
        return p.GetTokenType() == ttIdentifier ? p.Token() : "";
      }
    }
    return "";
  }

  // Every token as "type:text".
  std::vector<std::string> All(const std::string& source, bool pascal) {
    TIntlParser p;
    EXPECT_TRUE(p.InitParser(Write(source), pascal));
    std::vector<std::string> out;
    for (p.NextToken(1); p.GetNotEOF(); p.NextToken(1))
      out.push_back(std::to_string(p.GetTokenType()) + ":" + p.Token());
    return out;
  }

  testing::TempDir dir_;
  int count_ = 0;
};

TEST_F(Tokenizer, PascalFormClassDiscovery) {
  EXPECT_EQ(PascalAncestor("unit U;\ninterface\ntype\n  TForm2 = class(TForm)\n  end;\n"), "TForm");
  EXPECT_EQ(PascalAncestor("type tform2=class(TBaseDialog) Button1: TButton; end;"), "TBaseDialog");
  // A variable of the type comes first; the declaration follows.
  EXPECT_EQ(PascalAncestor("var Form2: TForm2;\ntype TForm2 = class(TForm) end;"), "TForm");
  // Comments and strings never match.
  EXPECT_EQ(PascalAncestor("{ TForm2 = class(TWrong) }\n(* TForm2 = class(TWrong2) *)\n"
                           "// TForm2 = class(TWrong3)\nconst S = 'TForm2 = class(TWrong4)';\n"
                           "type TForm2 = class(TRight) end;"),
            "TRight");
  EXPECT_EQ(PascalAncestor("const S = 'TForm2'; T = 'it''s' #13#10'TForm2';"), "");
}

TEST_F(Tokenizer, CppFormClassDiscovery) {
  EXPECT_EQ(CppAncestor("class TForm2 : public TForm1 {\npublic:\n};\n"), "TForm1");
  EXPECT_EQ(CppAncestor("#ifndef TForm2H\n#define TForm2H \\\n  class TForm2 : public TWrong {\n#endif\n"
                        "/* class TForm2 : public TWrong2 { */\n// class TForm2 : public TWrong3 {\n"
                        "const char* s = \"class TForm2 : public TWrong4 {\";\n"
                        "class TForm1;\nclass PACKAGE TForm2 : public TRight\n{\n};\n"),
            "TRight");
  EXPECT_EQ(CppAncestor("class TForm2;\n"), "");
  // A comment in a preprocessor line may span lines; its text is no token.
  EXPECT_EQ(
      CppAncestor("#define X /* a\n class TForm2 : public TWrong { */\nclass TForm2 : public TRight {};"),
      "TRight");
}

TEST_F(Tokenizer, FindSearchesStrictlyAfterTheCurrentToken) {
  TIntlParser p;
  ASSERT_TRUE(p.InitParser(Write("a b a c"), true));
  EXPECT_EQ(p.Token(), "");
  EXPECT_FALSE(p.GetIsEOF());
  ASSERT_TRUE(p.FindSingleToken("A"));  // first token, case-insensitive
  ASSERT_TRUE(p.FindSingleToken("a"));
  p.NextToken(1);
  EXPECT_EQ(p.Token(), "c");
  EXPECT_FALSE(p.FindToken({"a", "b"}));
  EXPECT_TRUE(p.GetIsEOF());
  p.NextToken(5);
  EXPECT_TRUE(p.GetIsEOF());
  EXPECT_EQ(p.GetTokenType(), ttNone);
}

TEST_F(Tokenizer, MissingFileAndEmptyFile) {
  TIntlParser p;
  EXPECT_FALSE(p.InitParser(dir_ / "missing.pas", true));
  EXPECT_TRUE(p.GetIsEOF());
  EXPECT_TRUE(p.InitParser(Write(""), false));
  EXPECT_TRUE(p.GetIsEOF());
  EXPECT_FALSE(p.FindSingleToken("x"));
}

TEST_F(Tokenizer, LexicalEdges) {
  EXPECT_EQ(All("x:=1..9 $FF 1.5e+3 &", true), (std::vector<std::string>{"2:x", "1::=", "3:1", "1:.", "1:.",
                                                                         "3:9", "3:$FF", "3:1.5e+3", "1:&"}));
  EXPECT_EQ(All("#65'b''c'#$44 'x", true), (std::vector<std::string>{"4:Ab'cD", "4:x"}));
  EXPECT_EQ(All("#$ #$G #", true), (std::vector<std::string>{"1:#", "1:$", "1:#", "1:$", "2:G", "1:#"}));
  // 8-bit identifiers in any code page.
  EXPECT_EQ(All("T\xC4\xF6rm \xE9t\xE9", true), (std::vector<std::string>{"2:T\xC4\xF6rm", "2:\xE9t\xE9"}));
  EXPECT_EQ(All("a::b->c 0x1Fu 1'000 1e-5 '\\'' \"a\\\"b\" R\"d(x\")d\" u8\"y\"", false),
            (std::vector<std::string>{"2:a", "1:::", "2:b", "1:->", "2:c", "3:0x1Fu", "3:1'000", "3:1e-5",
                                      "4:\\'", "4:a\\\"b", "4:x\"", "4:y"}));
  // Unterminated comments and strings at the end of the file.
  EXPECT_EQ(All("a { b", true), (std::vector<std::string>{"2:a"}));
  EXPECT_EQ(All("a (* b", true), (std::vector<std::string>{"2:a"}));
  EXPECT_EQ(All("a /* b", false), (std::vector<std::string>{"2:a"}));
  EXPECT_EQ(All("a \"b", false), (std::vector<std::string>{"2:a", "4:b"}));
  EXPECT_EQ(All("a R\"q(b", false), (std::vector<std::string>{"2:a", "4:b"}));
  EXPECT_EQ(All("a #define x \\", false),
            (std::vector<std::string>{"2:a", "1:#", "2:define", "2:x", "1:\\"}));
  EXPECT_EQ(All("#define x \\", false), (std::vector<std::string>{}));
}

}  // namespace
}  // namespace vaq
