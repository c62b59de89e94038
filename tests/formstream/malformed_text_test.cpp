// Malformed form text: each input raises EParserError on the right line, saying what is wrong.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "host/framework/formstream.h"

namespace vaq {
namespace {

struct MalformedRow {
  std::string text;
  int line;
  std::string says;  // a fragment the message must contain
};

// "object A: TA", the given property lines, "end", with CR LF line ends.
std::string Form(const std::string& body) {
  return "object A: TA\r\n" + body + "\r\nend\r\n";
}

std::string Nested(int components) {
  std::string text;
  for (int i = 0; i < components; ++i) text += "object TA\r\n";
  for (int i = 0; i < components; ++i) text += "end\r\n";
  return text;
}

std::vector<MalformedRow> Rows() {
  const std::string long_name(256, 'n');
  return {
      // Structure of components.
      {"", 1, "'object' expected but end of file found"},
      {" \r\n\t\r\n", 1, "'object' expected but end of file found"},
      {"end", 1, "'object' expected but 'end' found"},
      {"\r\n\x01\x02", 2, "'object' expected but character #1 found"},
      {"object A: ", 1, "Class name expected but end of file found"},
      {"object A: 5 end", 1, "Class name expected but '5' found"},
      {"object A: TA", 1, "'end' expected but end of file found"},
      {"object A: TA\r\n  Left = 1\r\n\r\n", 2, "'end' expected but end of file found"},
      {"object A: TA\r\n  object B: TB\r\n  end\r\n", 3, "'end' expected but end of file found"},
      {"object A: TA [x]\r\nend", 1, "Integer expected but 'x' found"},
      {"object A: TA [1.5]\r\nend", 1, "Integer expected but '1.5' found"},
      {"object A: TA [1\r\nend", 2, "']' expected but 'end' found"},
      {"object A: TA [3000000000]\r\nend", 1, "Integer out of range"},
      {Form("  object B: TB\r\n  end\r\n  Left = 1"), 4, "'end' expected but 'Left' found"},
      {Form("  item\r\n  end"), 2, "'end' expected but 'item' found"},
      {Form("  \x7F"), 2, "'end' expected but character #127 found"},
      // Properties and values.
      {Form("  Left 1"), 2, "'=' expected but '1' found"},
      {Form("  Font.= 1"), 2, "'=' expected but '.' found"},
      {Form("  Left ="), 3, "Value expected but 'end' found"},
      {Form("  Left = )"), 2, "Value expected but ')' found"},
      {Form("  Left = ?"), 2, "Value expected but '?' found"},
      {Form("  Left = .5"), 2, "Value expected but '.' found"},
      {Form("  Left = 1)"), 2, "'end' expected but ')' found"},
      {Form("  Left = 1>"), 2, "'end' expected but '>' found"},
      {Form("  Left = 1\r\n  ]"), 3, "'end' expected but ']' found"},
      // Numbers.
      {Form("  Left = 1.2.3"), 2, "Invalid number '1.2.3'"},
      {Form("  Left = $"), 2, "Invalid number '$'"},
      {Form("  Left = $G1"), 2, "Invalid number '$G1'"},
      {Form("  Left = -$10"), 2, "Invalid number '-$10'"},
      {Form("  Left = --1"), 2, "Invalid number '--1'"},
      {Form("  Left = -"), 2, "Invalid number '-'"},
      {Form("  Left = 1e"), 2, "Invalid number '1e'"},
      {Form("  Left = 1e+"), 2, "Invalid number '1e+'"},
      {Form("  Left = 12x"), 2, "Invalid number '12x'"},
      {Form("  Left = 1.5cc"), 2, "Invalid number '1.5cc'"},
      {Form("  Left = 1_0"), 2, "Invalid number '1_0'"},
      {Form("  Left = " + std::string(100, '7') + "x"), 2,
       "Invalid number '" + std::string(40, '7') + "...'"},
      {Form("  Left = 99999999999999999999"), 2, "Integer out of range"},
      {Form("  Left = -9223372036854775809"), 2, "Integer out of range"},
      {Form("  Left = $10000000000000000"), 2, "Integer out of range"},
      {Form("  Left = 99999999999999999999c"), 2, "Integer out of range"},
      {Form("  Left = 1e99999"), 2, "Number out of range '1e99999'"},
      {Form("  Left = 1e39s"), 2, "Number out of range '1e39s'"},
      {Form("  Left = 1e30c"), 2, "Currency out of range"},
      // Strings.
      {Form("  Caption = 'abc\r\n  Left = 1"), 2, "Unterminated string"},
      {Form("  Caption = 'a'#13'bc\rLeft = 1"), 2, "Unterminated string"},
      {"object A: TA\r\n  Caption = 'abc", 2, "Unterminated string"},
      {"object A: TA\r\n  Caption = 'abc''", 2, "Unterminated string"},
      {Form("  Caption = #"), 2, "Invalid character code '#'"},
      {Form("  Caption = 'a'#"), 2, "Invalid character code '#'"},
      {Form("  Caption = #$"), 2, "Invalid character code '#$'"},
      {Form("  Caption = #12x"), 2, "Invalid character code '#12x'"},
      {Form("  Caption = #$1G"), 2, "Invalid character code '#$1G'"},
      {Form("  Caption = #99999"), 2, "Character code out of range '#99999'"},
      {Form("  Caption = #$10000"), 2, "Character code out of range '#$10000'"},
      {Form("  Caption = 'a' +\r\n\r\n  Left = 1"), 4, "String expected but 'Left' found"},
      {Form("  Caption = 'a' + 5"), 2, "String expected but '5' found"},
      // Sets.
      {Form("  Style = [a b]"), 2, "',' or ']' expected but 'b' found"},
      {Form("  Style = [a,]"), 2, "Set element expected but ']' found"},
      {Form("  Style = [a,\r\n"), 4, "Set element expected but 'end' found"},
      {Form("  Style = [1.5]"), 2, "Invalid set element '1.5'"},
      {Form("  Style = [a"), 3, "',' or ']' expected but 'end' found"},
      {Form("  Style = [a.b]"), 2, "',' or ']' expected but '.' found"},
      // Lists.
      {Form("  Items = (\r\n    'a'"), 4, "')' expected but 'end' found"},
      {Form("  Items = (\r\n    'a'>"), 3, "')' expected but '>' found"},
      {"object A: TA\r\n  Items = (\r\n    'a'\r\n", 3, "')' expected but end of file found"},
      // Null is kind 0, the byte that ends a list in the binary form.
      {Form("  Items = (Null)"), 2, "Null is not allowed in a list"},
      {Form("  Items = (\r\n    1\r\n    nULL\r\n    2)"), 4, "Null is not allowed in a list"},
      // Collections.
      {Form("  Columns = <\r\n    item\r\n    end"), 5, "'>' expected but 'end' found"},
      {Form("  Columns = <foo>"), 2, "'item' expected but 'foo' found"},
      {Form("  Columns = <)"), 2, "'>' expected but ')' found"},
      {Form("  Columns = <item object B: TB end end>"), 2, "'end' expected but 'object' found"},
      {Form("  Columns = <item\r\n    item end>"), 3, "'end' expected but 'item' found"},
      {Form("  Columns = <item [x] end>"), 2, "Integer expected but 'x' found"},
      {Form("  Columns = <item [1 end>"), 2, "']' expected but 'end' found"},
      {Form("  Columns = <item [2147483648] end>"), 2, "Integer out of range"},
      {Form("  Columns = <item [-2147483649] end>"), 2, "Integer out of range"},
      // Binary data.
      {Form("  Data = {\r\n    123}"), 2, "Odd number of hex digits in binary data"},
      {Form("  Data = {\r\n    12G4}"), 3, "Hex digit or '}' expected but 'G4' found"},
      {Form("  Data = {\r\n    12 )"), 3, "Hex digit or '}' expected but ')' found"},
      {"object A: TA\r\n  Data = {\r\n    1234\r\n", 3, "Hex digit or '}' expected but end of file found"},
      // Names longer than 255 bytes.
      {"object A: " + long_name + "\r\nend", 1, "Name longer than 255 bytes"},
      {"object " + long_name + ": TA\r\nend", 1, "Name longer than 255 bytes"},
      {Form("  " + long_name + " = 1"), 2, "Name longer than 255 bytes"},
      {Form("  Font." + long_name.substr(0, 251) + " = 1"), 2, "Name longer than 255 bytes"},
      {Form("  Left = " + long_name), 2, "Name longer than 255 bytes"},
      {Form("  Style = [a, " + long_name + "]"), 2, "Name longer than 255 bytes"},
      // Nesting: 500 levels of components, lists and collections together at most.
      {Nested(501), 501, "Nesting deeper than 500 levels"},
      {Form("  P =\r\n" + std::string(500, '(') + std::string(500, ')')), 3,
       "Nesting deeper than 500 levels"},
      {Form("  P = " + std::string(498, '(') + "<item Q = (1) end>" + std::string(498, ')')), 2,
       "Nesting deeper than 500 levels"},
      // Line ends: CR LF, LF and a lone CR each end a line.
      {"object A: TA\rLeft = 1.2.3\rend", 2, "Invalid number"},
      {"object A: TA\n\nLeft = ?\nend", 3, "Value expected but '?' found"},
      {"object A: TA\r\n\r\rLeft = ?\nend", 4, "Value expected but '?' found"},
  };
}

class MalformedText : public ::testing::TestWithParam<MalformedRow> {};

TEST_P(MalformedText, RaisesParserErrorOnTheRightLine) {
  const MalformedRow& row = GetParam();
  TMemoryStream input{row.text};
  TMemoryStream output;
  try {
    ObjectTextToBinary(input, output);
    FAIL() << "accepted: " << row.text.substr(0, 80);
  } catch (const EParserError& error) {
    const std::string prefix = "Line " + std::to_string(row.line) + ": ";
    const std::string message = error.what();
    EXPECT_EQ(message.substr(0, prefix.size()), prefix) << message;
    EXPECT_EQ(error.Line(), row.line);
    EXPECT_NE(message.find(row.says), std::string::npos) << message << "\nshould say: " << row.says;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, MalformedText, ::testing::ValuesIn(Rows()));

// Every proper prefix of a valid form is refused cleanly; so is every mutation that breaks it, on a
// line that exists.
TEST(MalformedText, TruncatedAndMutatedInputRaisesOnlyParserErrors) {
  const std::string text =
      "object Form1: TForm1 [1]\r\n  Caption = 'It''s'#13#10'x' +\r\n    #1055\r\n  Width = -1.5e3s\r\n"
      "  C = 15000c\r\n  D = 4.5d\r\n  S = [a, b]\r\n  L = (\r\n    1\r\n    $FF)\r\n  Cols = <\r\n"
      "    item [2]\r\n      W = 1\r\n    end>\r\n  Data = {\r\n    0A0B}\r\n  inline TLabel\r\n  end\r\nend";
  const auto convert = [](const std::string& input) {
    TMemoryStream stream{input};
    TMemoryStream output;
    ObjectTextToBinary(stream, output);
  };
  ASSERT_NO_THROW(convert(text));
  for (std::size_t size = 0; size < text.size(); ++size) {
    EXPECT_THROW(convert(text.substr(0, size)), EParserError) << size;
  }
  std::mt19937 random(7);
  const std::string alphabet = "'#$+-=:.,[]()<>{}0aZ_ \r\n\x01\xFF";
  for (int round = 0; round < 3000; ++round) {
    std::string mutated = text;
    for (int edits = 1 + static_cast<int>(random() % 3); edits > 0; --edits) {
      mutated[random() % mutated.size()] = alphabet[random() % alphabet.size()];
    }
    try {
      convert(mutated);
    } catch (const EParserError& error) {
      EXPECT_GE(error.Line(), 1);
      EXPECT_LE(error.Line(), 25);  // 19 lines and at most 3 new line ends
    }
  }
}

}  // namespace
}  // namespace vaq
