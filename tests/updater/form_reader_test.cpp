#include "updater/form_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/locale.h"
#include "host/framework/formstream.h"

namespace rux {
namespace {

constexpr vaq::TLCID kEnglish = 0x0409;

struct ExpectedLine {
  std::string Id;
  std::string Value;
  std::string Type;
  std::string Open;
  std::string Close;
};

TExtractedLines ReadText(const std::string& Text) {
  vaq::TMemoryStream Stream(Text);
  TExtractedLines Lines;
  EXPECT_TRUE(ExtractFormLines(Stream, "test.rux", Lines, kEnglish)) << Text;
  return Lines;
}

std::string TextToBinary(const std::string& Text) {
  vaq::TMemoryStream In(Text), Out;
  vaq::ObjectTextToBinary(In, Out);
  return Out.Data();
}

void ExpectLines(const TExtractedLines& Lines, const std::vector<ExpectedLine>& Expected) {
  ASSERT_EQ(Lines.size(), Expected.size());
  for (std::size_t I = 0; I < Lines.size(); ++I) {
    SCOPED_TRACE("line " + std::to_string(I) + " " + Expected[I].Id);
    EXPECT_EQ(Lines[I].Id, Expected[I].Id);
    EXPECT_EQ(Lines[I].Data.Value, Expected[I].Value);
    EXPECT_EQ(Lines[I].Data.Type, Expected[I].Type);
    EXPECT_EQ(Lines[I].Data.Open, Expected[I].Open);
    EXPECT_EQ(Lines[I].Data.Close, Expected[I].Close);
    EXPECT_EQ(Lines[I].Data.Order, -1);
  }
}

// One property of Form1 per case: the value text, and the structure tokens of the lines it gives.
struct ValueCase {
  const char* Name;
  std::string Property;
  std::vector<ExpectedLine> Lines;
};

class FormReaderValues : public ::testing::TestWithParam<ValueCase> {};

TEST_P(FormReaderValues, GivesLinesInTextAndBinary) {
  const std::string Text = "object Form1: TForm1\n" + GetParam().Property + "\nend\n";
  ExpectLines(ReadText(Text), GetParam().Lines);
  ExpectLines(ReadText(TextToBinary(Text)), GetParam().Lines);
}

const std::string P = "O:Form1.";
const std::string F = "TForm1";

INSTANTIATE_TEST_SUITE_P(
    Cases, FormReaderValues,
    ::testing::Values(
        ValueCase{"Apostrophe", "Caption = 'It''s'", {{P + "Caption", "'It'#39's'", F, "", ""}}},
        ValueCase{"EmptyString", "Caption = ''", {{P + "Caption", "''", F, "", ""}}},
        ValueCase{"LineBreak", "Caption = 'a'#13#10'b'", {{P + "Caption", "'a'#13#10'b'", F, "", ""}}},
        ValueCase{"HighBytesStayQuoted", "Caption = 'caf'#233", {{P + "Caption", "'caf\xE9'", F, "", ""}}},
        // A character the code page lacks keeps its code (the value stays a wide string), never '?'.
        ValueCase{"WideString", "Caption = 'x'#1075#39", {{P + "Caption", "'x'#1075#39", F, "", ""}}},
        ValueCase{"Integer", "Tag = -70000", {{P + "Tag", "-70000", F, "", ""}}},
        ValueCase{"Int64", "Tag = 5000000000", {{P + "Tag", "5000000000", F, "", ""}}},
        ValueCase{"Identifiers",
                  "Color = clRed\nVisible = False\nPopupMenu = nil",
                  {{P + "Color", "clRed", F, "", ""},
                   {P + "Visible", "False", F, "", ""},
                   {P + "PopupMenu", "nil", F, "", ""}}},
        ValueCase{"Extended", "Value = 0.1", {{P + "Value", vaq::VaqFloatToStr(0.1L), F, "", ""}}},
        ValueCase{"Single", "Value = 0.5s", {{P + "Value", vaq::VaqFloatToStr(0.5f) + "s", F, "", ""}}},
        ValueCase{"Date", "Value = 2.25d", {{P + "Value", vaq::VaqFloatToStr(2.25) + "d", F, "", ""}}},
        ValueCase{
            "Currency", "Value = 15000c", {{P + "Value", vaq::VaqFloatToStr(15000.0L) + "c", F, "", ""}}},
        ValueCase{"EmptySet", "Anchors = []", {{P + "Anchors", "[]", F, "", ""}}},
        ValueCase{"Set", "Anchors = [akLeft, akTop]", {{P + "Anchors", "[akLeft, akTop]", F, "", ""}}},
        ValueCase{
            "StringList",
            "Lines.Strings = (\n'one'\n'two')",
            {{P + "Lines.Strings[0]", "'one'", F, "(", ""}, {P + "Lines.Strings[1]", "'two'", F, "", ")"}}},
        ValueCase{"EmptyList", "Lines.Strings = ()", {{P + "Lines.Strings", "()", F, "", ""}}},
        ValueCase{"Collection",
                  "Columns = <\nitem\nCaption = 'A'\nend\nitem\nCaption = 'B'\nend>\nTag = 1",
                  {{P + "Columns[0].Caption", "'A'", "C:" + F, "<item", "end"},
                   {P + "Columns[1].Caption", "'B'", "C:" + F, "item", "end>"},
                   {P + "Tag", "1", F, "", ""}}},
        ValueCase{"EmptyCollection", "Columns = <>", {{P + "Columns", "<>", F, "", ""}}},
        ValueCase{"EmptyItem",
                  "Columns = <\nitem\nend\nitem\nCaption = 'B'\nend>",
                  {{P + "Columns[0]", "", "C:" + F, "<item", "end"},
                   {P + "Columns[1].Caption", "'B'", "C:" + F, "item", "end>"}}},
        ValueCase{"ItemIndex",
                  "Columns = <\nitem[5]\nCaption = 'A'\nend>",
                  {{P + "Columns[0]", "5", "C:" + F, "<", ""},
                   {P + "Columns[1].Caption", "'A'", "C:" + F, "item", "end>"}}},
        ValueCase{"Binary",
                  "Data = {\n00 Ab ff}\nTag = 2",
                  {{P + "Data", "00ABFF", F, "{", "}"}, {P + "Tag", "2", F, "", ""}}},
        ValueCase{"BinaryFirstInItem",
                  "Columns = <\nitem\nData = {01}\nCaption = 'A'\nend>",
                  {{P + "Columns[0].Data", "01", "C:" + F, "<item{", "}"},
                   {P + "Columns[0].Caption", "'A'", "C:" + F, "", "end>"}}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(FormReader, RootWithoutPropertiesGivesMarkerLine) {
  ExpectLines(ReadText("object Form1: TForm1\nend\n"), {{"O:Form1.", "", "TForm1", "", ""}});
}

TEST(FormReader, ComponentPathsAndKinds) {
  const std::string Text =
      "object Form1: TForm1\n"
      "  object Panel1: TPanel\n"
      "    object TLabel\n    end\n"
      "    object TLabel\n    end\n"
      "    object TLabel\n      Caption = 'x'\n    end\n"
      "  end\n"
      "  inherited Frame1: TFrame1\n  end\n"
      "  inline Frame2: TFrame2 [3]\n  end\n"
      "end\n";
  const std::vector<ExpectedLine> Expected = {
      {"O:Form1.", "", "TForm1", "", ""},
      {"O:Form1.O:Panel1.", "", "TPanel", "", ""},
      {"O:Form1.O:Panel1.O:[0]TLabel.", "", "TLabel", "", ""},
      {"O:Form1.O:Panel1.O:[1]TLabel.", "", "TLabel", "", ""},
      {"O:Form1.O:Panel1.O:[2]TLabel.Caption", "'x'", "TLabel", "", ""},
      {"O:Form1.I:Frame1.", "", "TFrame1", "", ""},
      {"O:Form1.L:Frame2.", "", "TFrame2 [3]", "", ""},
  };
  ExpectLines(ReadText(Text), Expected);
  ExpectLines(ReadText(TextToBinary(Text)), Expected);
}

// Binary data as the first property of a collection item, written with the binary writer.
TEST(FormReader, BinaryOpeningAnItemKeepsTheItemOpener) {
  vaq::TFormWriter W;
  W.WriteSignature();
  W.WriteComponentHeader(0, -1, "TListView", "List1");
  W.WriteStr("Columns");
  W.WriteValue(vaq::TValueType::vaCollection);
  W.WriteValue(vaq::TValueType::vaList);
  W.WriteStr("Data");
  W.WriteBinary(std::string("\x0A\xBC", 2));
  W.WriteListEnd();
  W.WriteListEnd();
  W.WriteListEnd();
  W.WriteListEnd();
  ExpectLines(ReadText(W.Data()), {{"O:List1.Columns[0].Data", "0ABC", "C:TListView", "<item{", "}end>"}});
}

TEST(FormReader, NotAFormGivesFalseWithoutMessage) {
  auto Sink = std::make_unique<vaq::CollectingSink>();
  auto* Messages = &Sink->Messages;
  vaq::ScopedMessageSink Scope(std::move(Sink));
  vaq::TMemoryStream Stream(std::string("hello world"));
  TExtractedLines Lines{{"old", {}}};
  EXPECT_FALSE(ExtractFormLines(Stream, "x.rux", Lines, kEnglish));
  EXPECT_TRUE(Lines.empty());
  EXPECT_TRUE(Messages->empty());
}

// Currency 1.5 is stored as 15000 and written as that stored value with "c".
TEST(FormReader, CurrencyIsTheStoredValue) {
  vaq::TFormWriter W;
  W.WriteSignature();
  W.WriteComponentHeader(0, -1, "TForm1", "Form1");
  W.WriteStr("Value");
  W.WriteCurrency(15000);
  W.WriteListEnd();
  W.WriteListEnd();
  ExpectLines(ReadText(W.Data()), {{"O:Form1.Value", vaq::VaqFloatToStr(15000.0L) + "c", "TForm1", "", ""}});
}

TEST(FormReader, BrokenFormShowsError) {
  auto Sink = std::make_unique<vaq::CollectingSink>();
  auto* Messages = &Sink->Messages;
  vaq::ScopedMessageSink Scope(std::move(Sink));

  std::string Binary = TextToBinary("object Form1: TForm1\nCaption = 'a'\nTag = 1\nend\n");
  Binary.resize(Binary.size() - 6);  // cut inside the Tag property
  TExtractedLines Lines;
  vaq::TMemoryStream Stream(Binary);
  EXPECT_FALSE(ExtractFormLines(Stream, "broken.rux", Lines, kEnglish));
  ASSERT_EQ(Messages->size(), 1u);
  EXPECT_NE(Messages->front().find("broken.rux"), std::string::npos);
  EXPECT_TRUE(Lines.empty());  // the conversion checks the whole form before reading

  vaq::TMemoryStream BadText(std::string("object Form1: TForm1\nCaption = \nend\n"));
  EXPECT_FALSE(ExtractFormLines(BadText, "bad.rux", Lines, kEnglish));
  EXPECT_EQ(Messages->size(), 2u);
}

// Wide strings (every string of a Qt-based form) are written in the code page of the form's
// language: what it lacks becomes codes; only a text whose every missing character is below 256
// has no notation, and then the reader warns instead of losing the character in silence.
TEST(FormReader, WideStringsInTheFormsCodePage) {
  auto Sink = std::make_unique<vaq::CollectingSink>();
  auto* Warnings = &Sink->Warnings;
  vaq::ScopedMessageSink Scope(std::move(Sink));
  const std::string Binary = TextToBinary("object Form1: TForm1\nCaption = 'caf'#233#1075\nend\n");
  const auto read = [&](vaq::TLCID Locale) {
    vaq::TMemoryStream Stream(Binary);
    TExtractedLines Lines;
    EXPECT_TRUE(ExtractFormLines(Stream, "wide.gox", Lines, Locale));
    return Lines.empty() ? std::string() : Lines.front().Data.Value;
  };
  EXPECT_EQ(read(0x0407), "'caf\xE9'#1075");
  EXPECT_TRUE(Warnings->empty());
  EXPECT_EQ(read(0x0419), "'caf?\xE3'");
  ASSERT_EQ(Warnings->size(), 1u);
  EXPECT_EQ(
      Warnings->front(),
      "wide.gox: O:Form1.Caption: the code page of Russian (Russia) cannot hold 'é' (U+00E9) in this text; "
      "it is read as '?'.");
}

TEST(FormReader, RestoresThreadLocale) {
  vaq::ScopedThreadLocale Outer(0x0407);
  vaq::TMemoryStream Stream(std::string("object Form1: TForm1\nend\n"));
  TExtractedLines Lines;
  EXPECT_TRUE(ExtractFormLines(Stream, "x.rux", Lines, 0x0419));
  EXPECT_EQ(vaq::VaqGetThreadLocale(), 0x0407u);
}

TEST(FormReader, MissingFileShowsError) {
  auto Sink = std::make_unique<vaq::CollectingSink>();
  auto* Messages = &Sink->Messages;
  vaq::ScopedMessageSink Scope(std::move(Sink));
  TExtractedLines Lines;
  EXPECT_FALSE(ExtractFormLines("/nonexistent/dir/form.rux", Lines, kEnglish));
  EXPECT_EQ(Messages->size(), 1u);
}

}  // namespace
}  // namespace rux
