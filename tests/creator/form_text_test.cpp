// The exact form text built from small sets of notes records: blocks and their "end" lines,
// headers, plain properties, binary data in pieces, string lists, collection items (also with an
// explicit index), dropped and kept empty values, and runs that give no text.
#include "creator/form_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notes/notes_record.h"

namespace rux {
namespace {

struct R {
  std::string Id, Type, Value, Open = {}, Close = {};
  std::string Orig = {};
  std::uint8_t Status = StatusTranslated;
};

std::vector<std::string> Notes(const std::vector<R>& records) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < records.size(); ++i) {
    vaq::TVaqNotesString record;
    record.Id = records[i].Id;
    record.Type = records[i].Type;
    record.Curr = records[i].Value;
    record.Orig = records[i].Orig.empty() ? records[i].Value : records[i].Orig;
    record.Open = records[i].Open;
    record.Close = records[i].Close;
    record.Status = records[i].Status;
    record.Order = static_cast<std::int32_t>(i);  // the list is reversed; the sort puts it back
    lines.insert(lines.begin(), NotesStringToString(record, false));
  }
  return lines;
}

std::string Text(const std::vector<R>& records, bool original = false) {
  return GenerateFormText(Notes(records), original).value_or("<none>");
}

TEST(FormText, BlocksAndHeaders) {
  EXPECT_EQ(Text({{"O:Form1.Caption", "TForm1", "'A'"},
                  {"O:Form1.O:Button1.Caption", "TButton [1]", "'B'"},
                  {"O:Form1.O:Panel1.", "C:TPanel", ""},
                  {"O:Form1.O:Panel1.O:[2]TLabel.Caption", "TLabel", "'C'"},
                  {"O:Form1.I:Label2.Caption", "TLabel", "'D'"}}),
            "object Form1: TForm1\r\nCaption =  'A' \r\n"
            "object Button1: TButton [1]\r\nCaption =  'B' \r\n"
            "end\r\nobject Panel1: TPanel\r\n"
            "object TLabel\r\nCaption =  'C' \r\n"
            "end\r\nend\r\ninherited Label2: TLabel\r\nCaption =  'D' \r\nend\r\nend\r\n");
}

TEST(FormText, BinaryListsAndEmptyValues) {
  const std::string hex(400, 'A');
  EXPECT_EQ(Text({{"O:F.Data", "TF", hex, "{", "}"},
                  {"O:F.Hint", "TF", ""},
                  {"O:F.Lines.Strings[0]", "TF", "'a'", "("},
                  {"O:F.Lines.Strings[1]", "TF", ""},
                  {"O:F.Lines.Strings[2]", "TF", "'c'", "", ")"}}),
            "object F: TF\r\nData = { " + hex.substr(0, 160) + "\r\n" + hex.substr(160, 160) + "\r\n" +
                hex.substr(320) +
                "\r\n }\r\n"
                "Lines.Strings = ( 'a' \r\n  \r\n 'c' )\r\nend\r\n");
}

TEST(FormText, CollectionItems) {
  EXPECT_EQ(Text({{"O:F.Columns[0].Caption", "C:TF", "'a'", "<item", ""},
                  {"O:F.Columns[0].Width", "C:TF", "5", "", "end"},
                  {"O:F.Columns[1].Caption", "C:TF", "'b'", "item", "end>"}}),
            "object F: TF\r\n Columns= <item Caption = 'a' \r\nWidth = 5 end\r\n item Caption = 'b' "
            "end>\r\nend\r\n");
  // An explicit index has a record of its own; an item of an index alone closes there.
  EXPECT_EQ(Text({{"O:F.Columns[0]", "C:TF", "7", "<", ""},
                  {"O:F.Columns[1].Caption", "C:TF", "'a'", "item", "end"},
                  {"O:F.Columns[2]", "C:TF", "9", "", "end>"}}),
            "object F: TF\r\n Columns= <\r\n item [7] Caption = 'a' end\r\n item [9] end>\r\nend\r\n");
}

TEST(FormText, ValuesAndRecordsLeftOut) {
  const std::vector<R> records = {{"O:F.Caption", "TF", "'Neu'", "", "", "'Old'"},
                                  {"O:F.Hint", "TF", "'gone'", "", "", "", StatusObsolete}};
  EXPECT_EQ(Text(records, true), "object F: TF\r\nCaption =  'Old' \r\nend\r\n");
  EXPECT_EQ(Text(records, false), "object F: TF\r\nCaption =  'Neu' \r\nend\r\n");
  EXPECT_EQ(Text({{"O:F.Hint", "TF", "'gone'", "", "", "", StatusObsolete}}), "<none>");
}

}  // namespace
}  // namespace rux

namespace rux {
namespace {

// Notes edited by hand may hold any tokens, Ids and types: the writer gives some text (which the
// conversion may reject) and never fails otherwise.
TEST(FormText, DamagedRecordsGiveTextNotCrashes) {
  const char* const ids[] = {
      "O:F.Caption", "O:F.Items[0]", "O:F.C[0].P",          "O:F.C[1].L[0]",  "X", "", "O:F.",
      ":",           "O:F.A[].B[x]", "I:F.O:[2]TLabel.Tag", "O:F.C[0].D[0].E"};
  const char* const tokens[] = {"",  "(",     ")",    "<",  ">",      "item",  "end",   "{",
                                "}", "<item", "end>", "((", "(<item", "end>)", "item(", ")end"};
  const char* const types[] = {"TF", "C:TF", "", "C:", "TButton [3]"};
  std::uint32_t state = 12345;
  const auto next = [&state](std::size_t n) {
    state = state * 1103515245 + 12345;
    return static_cast<std::size_t>((state >> 8) % n);
  };
  for (int run = 0; run < 300; ++run) {
    std::vector<R> records;
    for (int i = 0, count = 1 + static_cast<int>(next(12)); i < count; ++i) {
      records.push_back({ids[next(std::size(ids))], types[next(std::size(types))], next(4) == 0 ? "" : "'v'",
                         tokens[next(std::size(tokens))], tokens[next(std::size(tokens))]});
    }
    EXPECT_NO_THROW(Text(records)) << "run " << run;
  }
}

}  // namespace
}  // namespace rux
