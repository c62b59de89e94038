// Binary forms that the notation cannot express exactly still format (the layout of everything
// else is pinned in text_to_binary_test.cpp, in both directions): NaN and infinite floats of every
// kind without a suffix, names that are no identifiers made into one, UTF-8 strings (text reads
// wide strings instead), invalid UTF-8, both the inherited and the inline flag.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "host/framework/formstream.h"
#include "support/bytes.h"

namespace vaq {
namespace {

using testing::Bytes;
using testing::Convert;
using testing::Short;

std::string ToText(const std::string& binary) {
  TMemoryStream input(binary);
  TMemoryStream output;
  ObjectBinaryToText(input, output);
  return output.Data();
}

TEST(BinaryToText, ValuesTheNotationCannotExpress) {
  const struct {
    std::string value;
    std::string text;
  } cases[] = {
      {Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F}), "NaN"},
      {Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}), "-Inf"},
      {Bytes({15, 0, 0, 0x80, 0x7F}), "Inf"},
      {Bytes({15, 0, 0, 0xC0, 0x7F}), "NaN"},
      {Bytes({17, 0, 0, 0, 0, 0, 0, 0xF0, 0xFF}), "-Inf"},
      {"\x07" + Short("a b"), "a_b"},
      {"\x07" + Short("1x"), "_1x"},
      {"\x07" + Short(""), "_"},
      {"\x0B" + Short("5a") + Short("-") + Short("a\r\nb") + Bytes({0}), "[_5a, __, a__b]"},
      {Bytes({20, 3, 0, 0, 0, 'a', 'b', 'c'}), "'abc'"},
      {Bytes({20, 5, 0, 0, 0, 'c', 'a', 'f', 0xC3, 0xA9}), "'caf'#233"},
      {Bytes({20, 3, 0, 0, 0, 0xD0, 0x96, 'x'}), "#1046'x'"},
      {Bytes({20, 0, 0, 0, 0}), "''"},
      {Bytes({20, 4, 0, 0, 0, 'a', 0xC3, 0xFF, 0x80}), "'a?\?\?'"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToText("TPF0" + Short("TForm1") + Short("Form1") + Short("P") + c.value + Bytes({0, 0})),
              "object Form1: TForm1\r\n  P = " + c.text + "\r\nend\r\n");
  }
}

TEST(BinaryToText, NamesAndFlagsTheNotationCannotExpress) {
  EXPECT_EQ(ToText("TPF0" + Short("") + Short("my form") + Short("a=b") + Bytes({2, 1}) + Short("2nd") +
                   Bytes({2, 2}) + Short("Font.Name") + Bytes({6, 1, 'x', 0, 0})),
            "object my_form: _\r\n  a_b = 1\r\n  _2nd = 2\r\n  Font.Name = 'x'\r\nend\r\n");
  EXPECT_EQ(ToText("TPF0" + Bytes({0xF5}) + Short("TButton") + Short("Button1") + Bytes({0, 0})),
            "inherited Button1: TButton\r\nend\r\n");
}

}  // namespace
}  // namespace vaq
