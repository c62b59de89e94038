// The notation, exactly, in both directions: each row is a form text and its binary form, built
// by hand (independently of TFormWriter). The text reads to the bytes, the bytes format to the
// text (or to the canonical text given), and the reader walks the bytes, with typed reads and
// with SkipValue, back to themselves. Also: quoted bytes of wide strings and the code page.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>

#include "host/core/locale.h"
#include "host/framework/formstream.h"
#include "support/bytes.h"
#include "support/form_generator.h"

namespace vaq::testing {
namespace {

std::string Repeat(std::string_view unit, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += unit;
  return text;
}

// Plain text as the formatter splits it: 64 characters a piece, continued one level deeper.
std::string Pieces(std::string_view text, std::string_view indent = "    ") {
  std::string pieces = "'" + std::string(text.substr(0, 64)) + "'";
  for (std::size_t at = 64; at < text.size(); at += 64) {
    pieces += " +\r\n" + std::string(indent) + "'" + std::string(text.substr(at, 64)) + "'";
  }
  return pieces;
}

struct Row {
  std::string text;       // a form text
  std::string bytes;      // its binary form after "TPF0"
  std::string formatted;  // what the bytes format to, when that is not `text`
};

void PrintTo(const Row& row, std::ostream* os) {
  *os << row.text.substr(0, 100);
}

std::string FormText(const std::string& value) {
  return value.empty() ? "" : "object Form1: TForm1\r\n  P = " + value + "\r\nend\r\n";
}

std::string FormBytes(const std::string& value) {
  return Short("TForm1") + Short("Form1") + Short("P") + value + Bytes({0, 0});
}

// Form1: TForm1 whose one property P has the value.
Row Value(const std::string& text, const std::string& bytes, const std::string& formatted = {}) {
  return {FormText(text), FormBytes(bytes), FormText(formatted)};
}

// A component without properties and children.
Row Header(const std::string& line, const std::string& bytes, const std::string& formatted = {}) {
  return {line + "\r\nend\r\n", bytes + Bytes({0, 0}), formatted.empty() ? "" : formatted + "\r\nend\r\n"};
}

class Notation : public ::testing::TestWithParam<Row> {};

TEST_P(Notation, ReadsFormatsAndWalksExactly) {
  const Row& row = GetParam();
  const std::string binary = "TPF0" + row.bytes;
  EXPECT_EQ(Convert(ObjectTextToBinary, row.text), binary);
  EXPECT_EQ(Convert(ObjectBinaryToText, binary), row.formatted.empty() ? row.text : row.formatted);
  for (const WalkMode mode : {WalkMode::Read, WalkMode::Skip}) {
    TMemoryStream stream(binary);
    EXPECT_EQ(WalkFormBinary(stream, mode, 16), binary) << (mode == WalkMode::Read ? "read" : "skipped");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Integers, Notation,
    ::testing::Values(Value("0", Bytes({2, 0})), Value("127", Bytes({2, 0x7F})),
                      Value("-128", Bytes({2, 0x80})), Value("128", Bytes({3, 0x80, 0})),
                      Value("-129", Bytes({3, 0x7F, 0xFF})), Value("32767", Bytes({3, 0xFF, 0x7F})),
                      Value("32768", Bytes({4, 0, 0x80, 0, 0})),
                      Value("-32769", Bytes({4, 0xFF, 0x7F, 0xFF, 0xFF})),
                      Value("2147483647", Bytes({4, 0xFF, 0xFF, 0xFF, 0x7F})),
                      Value("2147483648", Bytes({19, 0, 0, 0, 0x80, 0, 0, 0, 0})),
                      Value("-9223372036854775808", Bytes({19, 0, 0, 0, 0, 0, 0, 0, 0x80})),
                      Value("007", Bytes({2, 7}), "7"), Value("$fF", Bytes({3, 0xFF, 0}), "255"),
                      Value("$FFFFFFFFFFFFFFFF", Bytes({2, 0xFF}), "-1"),
                      Value("$0000000000000000001", Bytes({2, 1}), "1"),
                      Value("$7FFFFFFFFFFFFFFF", Bytes({19, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}),
                            "9223372036854775807")));

// Floats are read directly in their own precision (0.1 not through a double; the single just above
// the midpoint of 1 and the next would tie to 1 through a double) and written shortest.
INSTANTIATE_TEST_SUITE_P(
    Floats, Notation,
    ::testing::Values(
        Value("1.5", Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F})),
        Value("1.", Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}), "1.0"),
        Value("-2e0", Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0xC0}), "-2.0"),
        Value("15000.0", Bytes({5, 0, 0, 0, 0, 0, 0, 0x60, 0xEA, 0x0C, 0x40})),
        Value("0.1", Bytes({5, 0xCD, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F})),
        Value("-0.0", Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80})),
        Value("1.18973149535723176502e+4932",
              Bytes({5, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x7F}),
              "1.189731495357231765e+4932"),
        Value("3.64519953188247460253e-4951", Bytes({5, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}), "4e-4951"),
        Value("1.5s", Bytes({15, 0, 0, 0xC0, 0x3F})), Value("1.5S", Bytes({15, 0, 0, 0xC0, 0x3F}), "1.5s"),
        Value("2s", Bytes({15, 0, 0, 0, 0x40}), "2.0s"), Value("0.1s", Bytes({15, 0xCD, 0xCC, 0xCC, 0x3D})),
        Value("1.00000005960464477540s", Bytes({15, 1, 0, 0x80, 0x3F}), "1.0000001s"),
        Value("-0.0s", Bytes({15, 0, 0, 0, 0x80})), Value("1e-45s", Bytes({15, 1, 0, 0, 0})),
        Value("1.5d", Bytes({17, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F})),
        Value("0.0d", Bytes({17, 0, 0, 0, 0, 0, 0, 0, 0})),
        Value("1e-320d", Bytes({17, 0xE8, 0x07, 0, 0, 0, 0, 0, 0})),
        Value("4.9e-324d", Bytes({17, 1, 0, 0, 0, 0, 0, 0, 0}), "5e-324d"),
        Value("-0.0d", Bytes({17, 0, 0, 0, 0, 0, 0, 0, 0x80})),
        // Currency: the stored value x 10000, rounded half away from zero.
        Value("15000c", Bytes({16, 0x98, 0x3A, 0, 0, 0, 0, 0, 0})),
        Value("15000.4c", Bytes({16, 0x98, 0x3A, 0, 0, 0, 0, 0, 0}), "15000c"),
        Value("1.5e4c", Bytes({16, 0x98, 0x3A, 0, 0, 0, 0, 0, 0}), "15000c"),
        Value("1.5c", Bytes({16, 2, 0, 0, 0, 0, 0, 0, 0}), "2c"),
        Value("-1.5c", Bytes({16, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), "-2c"),
        Value("9223372036854775807c", Bytes({16, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F})),
        Value("-9223372036854775808c", Bytes({16, 0, 0, 0, 0, 0, 0, 0, 0x80}))));

// 8-bit strings keep their bytes, quoting those from 32 up; wide strings quote only ASCII.
INSTANTIATE_TEST_SUITE_P(
    Strings, Notation,
    ::testing::Values(
        Value("''", Bytes({6, 0})), Value("'It''s'", Bytes({6, 4, 'I', 't', '\'', 's'})),
        Value("'It'#39's'", Bytes({6, 4, 'I', 't', '\'', 's'}), "'It''s'"),
        Value("''''", Bytes({6, 1, '\''})), Value("'a'#13#10'b'", Bytes({6, 4, 'a', 13, 10, 'b'})),
        Value("#9'x'#10", Bytes({6, 3, 9, 'x', 10})), Value("'a'#0'b'", Bytes({6, 3, 'a', 0, 'b'})),
        Value("#$41", Bytes({6, 1, 'A'}), "'A'"),
        Value("#$0041#0#255", Bytes({6, 3, 'A', 0, 255}), "'A'#0'\xFF'"),
        Value("'\t\xE9\x7F'", Bytes({6, 3, 9, 0xE9, 0x7F}), "#9'\xE9\x7F'"),
        Value("'ab' +\r\n    'cd'+'e'  +  #33", Bytes({6, 6, 'a', 'b', 'c', 'd', 'e', '!'}), "'abcde!'"),
        Value("#1055#$20", Bytes({18, 2, 0, 0, 0, 0x1F, 0x04, 0x20, 0}), "#1055' '"),
        Value("'It''s'#8364", Bytes({18, 5, 0, 0, 0, 'I', 0, 't', 0, '\'', 0, 's', 0, 0xAC, 0x20})),
        Value("#1055#0'a'#255", Bytes({18, 4, 0, 0, 0, 0x1F, 0x04, 0, 0, 'a', 0, 0xFF, 0})),
        Value("#128#1055", Bytes({18, 2, 0, 0, 0, 0x80, 0, 0x1F, 0x04})),
        Value("#55357#56832", Bytes({18, 2, 0, 0, 0, 0x3D, 0xD8, 0x00, 0xDE})),
        Value("#$FFFF#$D800", Bytes({18, 2, 0, 0, 0, 0xFF, 0xFF, 0x00, 0xD8}), "#65535#55296"),
        // Up to 255 bytes a short string, then a long one; 64 characters a line, "#n" and a
        // doubled apostrophe counting as one; wide strings count code units.
        Value(Pieces(Repeat("a", 64)), Bytes({6, 64}) + Repeat("a", 64)),
        Value(Pieces(Repeat("a", 65)), Bytes({6, 65}) + Repeat("a", 65)),
        Value(Pieces(Repeat("ab", 64) + "c"), Bytes({6, 129}) + Repeat("ab", 64) + "c"),
        Value("'" + Repeat("a", 63) + "'#13 +\r\n    'bb'", Bytes({6, 66}) + Repeat("a", 63) + "\rbb"),
        Value("'" + Repeat("a", 63) + "''' +\r\n    ''''", Bytes({6, 65}) + Repeat("a", 63) + "''"),
        Value(Pieces(Repeat("x", 255)), Bytes({6, 255}) + Repeat("x", 255)),
        Value(Pieces(Repeat("y", 300)), Bytes({12, 0x2C, 1, 0, 0}) + Repeat("y", 300)),
        Value("'" + Repeat("a", 62) + "'#1055#1055 +\r\n    #1055'z'",
              Bytes({18, 66, 0, 0, 0}) + Repeat(Bytes({'a', 0}), 62) + Repeat(Bytes({0x1F, 4}), 3) +
                  Bytes({'z', 0})),
        Value("(\r\n    " + Pieces(Repeat("a", 65), "      ") + ")",
              Bytes({1, 6, 65}) + Repeat("a", 65) + Bytes({0}))));

INSTANTIATE_TEST_SUITE_P(
    IdentifiersAndSets, Notation,
    ::testing::Values(Value("True", Bytes({9})), Value("false", Bytes({8}), "False"),
                      Value("NIL", Bytes({13}), "nil"), Value("null", Bytes({0}), "Null"),
                      Value("alClient", "\x07" + Short("alClient")),
                      Value("Form1.Button1", "\x07" + Short("Form1.Button1")),
                      Value("_x\xC3\xA9", "\x07" + Short("_x\xC3\xA9")), Value("[]", Bytes({11, 0})),
                      Value("[ ]", Bytes({11, 0}), "[]"),
                      Value("[fsBold, fsItalic]", "\x0B" + Short("fsBold") + Short("fsItalic") + Bytes({0})),
                      Value("[fsBold,fsItalic]", "\x0B" + Short("fsBold") + Short("fsItalic") + Bytes({0}),
                            "[fsBold, fsItalic]"),
                      // Sets of numbers hold their elements as decimal names.
                      Value("[0, 54, -5]", "\x0B" + Short("0") + Short("54") + Short("-5") + Bytes({0}))));

// Lists, collections and binary data open on the property's line, put their elements one level
// deeper, and close after the last one.
INSTANTIATE_TEST_SUITE_P(
    Structures, Notation,
    ::testing::Values(
        Value("()", Bytes({1, 0})), Value("(\r\n    'a'\r\n    'b')", Bytes({1, 6, 1, 'a', 6, 1, 'b', 0})),
        Value("(1 'a' (2) [] x)", Bytes({1, 2, 1, 6, 1, 'a', 1, 2, 2, 0, 11, 0, 7, 1, 'x', 0}),
              "(\r\n    1\r\n    'a'\r\n    (\r\n      2)\r\n    []\r\n    x)"),
        Value("(1.5s-2)", Bytes({1, 15, 0, 0, 0xC0, 0x3F, 2, 0xFE, 0}), "(\r\n    1.5s\r\n    -2)"),
        Value("(() (()) <> <item end> [] {} '' {AB})",
              Bytes({1,  1, 0, 1, 1, 0, 0, 14, 0, 14, 1, 0, 0,    11, 0,
                     10, 0, 0, 0, 0, 6, 0, 10, 1, 0,  0, 0, 0xAB, 0}),
              "(\r\n    ()\r\n    (\r\n      ())\r\n    <>\r\n    <\r\n      item\r\n      end>\r\n    []\r\n"
              "    {}\r\n    ''\r\n    {\r\n      AB})"),
        Value("<>", Bytes({14, 0})), Value("<\r\n    item\r\n    end>", Bytes({14, 1, 0, 0})),
        Value("<item [3] Width = 5 end item end>",
              "\x0E" + Bytes({2, 3, 1}) + Short("Width") + Bytes({2, 5, 0, 1, 0, 0}),
              "<\r\n    item [3]\r\n      Width = 5\r\n    end\r\n    item\r\n    end>"),
        Value("<item [2147483647] end item [-2147483648] end>",
              Bytes({14, 4, 0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 4, 0, 0, 0, 0x80, 1, 0, 0}),
              "<\r\n    item [2147483647]\r\n    end\r\n    item [-2147483648]\r\n    end>"),
        Value("<item Q = Null end>", Bytes({14, 1}) + Short("Q") + Bytes({0, 0, 0}),
              "<\r\n    item\r\n      Q = Null\r\n    end>"),
        Value("<item Items = ('a') Sub = <item [-1] W = 1 end item end> end>",
              Bytes({14, 1}) + Short("Items") + Bytes({1, 6, 1, 'a', 0}) + Short("Sub") +
                  Bytes({14, 2, 0xFF, 1}) + Short("W") + Bytes({2, 1, 0, 1, 0, 0, 0, 0}),
              "<\r\n    item\r\n      Items = (\r\n        'a')\r\n      Sub = <\r\n        item [-1]\r\n"
              "          W = 1\r\n        end\r\n        item\r\n        end>\r\n    end>"),
        Value("{}", Bytes({10, 0, 0, 0, 0})),
        Value("{0102FF}", Bytes({10, 3, 0, 0, 0, 1, 2, 0xFF}), "{\r\n    0102FF}"),
        Value("{\r\n    01 0\r\n  2 fF\t}", Bytes({10, 3, 0, 0, 0, 1, 2, 0xFF}), "{\r\n    0102FF}"),
        // 32 bytes a line.
        Value("{" + Repeat("A5", 70) + "}", Bytes({10, 70, 0, 0, 0}) + Repeat("\xA5", 70),
              "{\r\n    " + Repeat("A5", 32) + "\r\n    " + Repeat("A5", 32) + "\r\n    " + Repeat("A5", 6) +
                  "}")));

// A class name of 240 bytes or more would start with a length byte that reads as a prefix, so it
// gets one (0xF0: no flags).
INSTANTIATE_TEST_SUITE_P(
    Components, Notation,
    ::testing::Values(
        Header("object Form1: TForm1", Short("TForm1") + Short("Form1")),
        Header("object TLabel", Short("TLabel") + Bytes({0})),
        Header("object TLabel [2]", Bytes({0xF2, 2, 2}) + Short("TLabel") + Bytes({0})),
        Header("object Form1 : TForm1 [ -1 ]", Bytes({0xF2, 2, 0xFF}) + Short("TForm1") + Short("Form1"),
               "object Form1: TForm1 [-1]"),
        Header("object L: TLabel [300]", Bytes({0xF2, 3, 0x2C, 1}) + Short("TLabel") + Short("L")),
        Header("object L: TLabel [100000]",
               Bytes({0xF2, 4, 0xA0, 0x86, 1, 0}) + Short("TLabel") + Short("L")),
        Header("inherited Form1: TForm1", Bytes({0xF1}) + Short("TForm1") + Short("Form1")),
        Header("inline Frame1: TFrame1", Bytes({0xF4}) + Short("TFrame1") + Short("Frame1")),
        Header("INHERITED Form1: TForm1 [3]", Bytes({0xF3, 2, 3}) + Short("TForm1") + Short("Form1"),
               "inherited Form1: TForm1 [3]"),
        Header("inline TButton [0]", Bytes({0xF6, 2, 0}) + Short("TButton") + Bytes({0})),
        Header("object " + Repeat("C", 239), Short(Repeat("C", 239)) + Bytes({0})),
        Header("object " + Repeat("C", 240), Bytes({0xF0}) + Short(Repeat("C", 240)) + Bytes({0})),
        Header("object " + Repeat("C", 255), Bytes({0xF0}) + Short(Repeat("C", 255)) + Bytes({0})),
        Header("inherited " + Repeat("C", 250), Bytes({0xF1}) + Short(Repeat("C", 250)) + Bytes({0})),
        Row{"\xEF\xBB\xBF  \t\r\n object A: TA end \r\n\t ", Short("TA") + Short("A") + Bytes({0, 0}),
            "object A: TA\r\nend\r\n"},
        Row{"object A: TA\n  object B: TB\n    Inline B2: TB [1]\n    end\n  end\n  obJect TC\n  EnD\nend",
            Short("TA") + Short("A") + Bytes({0}) + Short("TB") + Short("B") + Bytes({0, 0xF6, 2, 1}) +
                Short("TB") + Short("B2") + Bytes({0, 0, 0}) + Short("TC") + Bytes({0, 0, 0, 0}),
            "object A: TA\r\n  object B: TB\r\n    inline B2: TB [1]\r\n    end\r\n  end\r\n  object TC\r\n"
            "  end\r\nend\r\n"},
        // A word followed by '=' is a property even when it spells a keyword.
        Row{"OBJECT A:TA Inline = True Object.End = 1 Columns=<ITEM Caption='x'End Item eND>END",
            Short("TA") + Short("A") + Short("Inline") + Bytes({9}) + Short("Object.End") + Bytes({2, 1}) +
                Short("Columns") + Bytes({14, 1}) + Short("Caption") + Bytes({6, 1, 'x', 0, 1, 0, 0, 0, 0}),
            "object A: TA\r\n  Inline = True\r\n  Object.End = 1\r\n  Columns = <\r\n    item\r\n"
            "      Caption = 'x'\r\n    end\r\n    item\r\n    end>\r\nend\r\n"}));

// Quoted runs of a wide string are converted as a whole with the thread locale's code page, so
// that a double-byte character split across pieces stays one; codes are units as they are.
TEST(TextToBinary, WideStringsConvertQuotedRunsWithTheThreadCodePage) {
  const struct {
    const char* locale;
    std::string value;
    std::string bytes;
  } cases[] = {
      {"ru-RU", "'\xCF\xF0'#1055'a'", Bytes({18, 4, 0, 0, 0, 0x1F, 0x04, 0x40, 0x04, 0x1F, 0x04, 'a', 0})},
      {"ru-RU", "'\xCF\xF0'#255", Bytes({6, 3, 0xCF, 0xF0, 0xFF})},
      {"ru-RU", "#233#1055", Bytes({18, 2, 0, 0, 0, 0xE9, 0, 0x1F, 0x04})},
      {"ja-JP", "'\x82' +\r\n    '\xA0'#1055", Bytes({18, 2, 0, 0, 0, 0x42, 0x30, 0x1F, 0x04})},
  };
  for (const auto& c : cases) {
    const ScopedThreadLocale locale(StrToLCID(c.locale));
    EXPECT_EQ(Convert(ObjectTextToBinary, FormText(c.value)), "TPF0" + FormBytes(c.bytes)) << c.value;
  }
}

// 500 levels of components, lists and collections together are the most there may be.
TEST(TextToBinary, FiveHundredLevelsOfNestingAreAccepted) {
  std::string text;
  for (int i = 0; i < 250; ++i) text += "object TA\r\n";
  text += "P = " + std::string(249, '(') + "<item end>" + std::string(249, ')') + "\r\n";
  for (int i = 0; i < 250; ++i) text += "end\r\n";
  EXPECT_EQ(Convert(ObjectTextToBinary, text).size(),
            4 + 250 * (Short("TA").size() + 3) + Short("P").size() + 498 + 4);
}

// A second copy of the root pasted behind the first one's final "end": the first root is the form,
// the position stops behind it, and the line where the ignored text begins is known (CR LF, LF and
// lone CR line ends alike); white space alone behind the root is nothing to report.
TEST(TextToBinary, TextBehindTheRootIsLeftUnreadAndItsLineKnown) {
  const std::string root = "object A: TA\r\n  Left = 1\r\nend";
  const std::string form = Convert(ObjectTextToBinary, root);
  const struct {
    std::string behind;
    int line;
  } cases[] = {
      {"\r\nobject A: TA\r\n  Left = 2\r\nend\r\n", 4},
      {"\n\n  garbage ) ' {", 5},
      {"\r\r\rx", 6},
      {" end", 3},
      {"\r\n\r\n \t", 0},
      {"", 0},
  };
  for (const auto& c : cases) {
    TMemoryStream input(root + c.behind);
    TMemoryStream output;
    ObjectTextToBinary(input, output);
    EXPECT_EQ(output.Data(), form) << c.behind;
    // The position stops where the ignored text begins.
    const std::size_t text = std::min(c.behind.find_first_not_of(" \t\r\n"), c.behind.size());
    EXPECT_EQ(input.Rest(), std::string_view(c.behind).substr(text)) << c.behind;
    EXPECT_EQ(IgnoredTextLine(input), c.line) << c.behind;
    // The same over text that lies elsewhere, appended to what the output holds.
    const std::string whole = root + c.behind;
    std::string appended = "x";
    const std::size_t consumed = ObjectTextToBinary(std::string_view(whole), appended);
    EXPECT_EQ(appended, "x" + form);
    EXPECT_EQ(consumed, input.Position());
    EXPECT_EQ(IgnoredTextLine(whole, consumed), c.line);
  }
  TMemoryStream input(root + "\r\nobject B: TB\r\nend\r\n");
  TMemoryStream resource;
  EXPECT_EQ(ObjectTextToResource(input, resource), TStreamOriginalFormat::sofText);
  EXPECT_EQ(IgnoredTextLine(input), 4);
  EXPECT_EQ(IgnoredTextWarning("F.rux", 4),
            "F.rux: Line 4: text after the form's final 'end' is not part of "
            "the form and is ignored");
}

}  // namespace
}  // namespace vaq::testing
