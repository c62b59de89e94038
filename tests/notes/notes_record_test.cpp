#include "notes/notes_record.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "host/core/conversions.h"

namespace rux {
namespace {

using vaq::TVaqNotesString;

// A full record and its notes string, byte for byte: this pins the on-disk format.
TVaqNotesString FullRecord() {
  return {"O:Form1.O:Button1.Caption",
          "'OK'",
          "'Ja'",
          "'Ok'",
          "'Jo'",
          StatusTranslated,
          7,
          "TButton [2]",
          true,
          "(",
          ")",
          45000.5,
          45001.25,
          "check"};
}
const std::string kFullRecordText =
    "/* ID:O:Form1.O:Button1.Caption\004Orig:'OK'\004Status:1\004Curr:'Ja'\004PrevOrig:'Ok'\004PrevCurr:'Jo'"
    "\004Order:7\004Type:TButton [2]\004Open:(\004Localize:True\004Close:)\004Created:45000.5"
    "\004Modified:45001.25\004Comment:check\004 */";

TEST(NotesRecordWrite, FullRecordIsByteExact) {
  EXPECT_EQ(NotesStringToString(FullRecord(), false), kFullRecordText);
}

TEST(NotesRecordWrite, NegativeOrderIsWrittenWithMinus) {
  TVaqNotesString r = FullRecord();
  r.Order = OrderNotWritten;
  EXPECT_NE(NotesStringToString(r, false).find("\004Order:-1\004Type:"), std::string::npos);
}

// The message of the EBadNotesRecord that writing `r` raises, its field name after '|'.
std::string Refusal(const TVaqNotesString& r) {
  try {
    NotesStringToString(r, false);
  } catch (const EBadNotesRecord& e) {
    return std::string(e.what()) + "|" + e.Field();
  }
  return "accepted";
}

TEST(NotesRecordWrite, RefusesSeparatorAndLineBreaksNamingIdAndField) {
  const std::pair<std::string TVaqNotesString::*, const char*> fields[] = {
      {&TVaqNotesString::Orig, "Orig"},         {&TVaqNotesString::Curr, "Curr"},
      {&TVaqNotesString::PrevOrig, "PrevOrig"}, {&TVaqNotesString::PrevCurr, "PrevCurr"},
      {&TVaqNotesString::Type, "Type"},         {&TVaqNotesString::Open, "Open"},
      {&TVaqNotesString::Close, "Close"},       {&TVaqNotesString::Comment, "Comment"}};
  for (const auto& [field, name] : fields) {
    for (char bad : {'\x04', '\r', '\n'}) {
      TVaqNotesString r = FullRecord();
      r.*field += std::string("a") + bad;
      EXPECT_EQ(Refusal(r), std::string("Notes record 'O:Form1.O:Button1.Caption': field ") + name +
                                " contains a line break or a 0x04 byte|" + name);
    }
  }
  TVaqNotesString r = FullRecord();
  r.Id = "O:A\r\nB\x04";  // the message shows the Id on one line
  EXPECT_EQ(Refusal(r), "Notes record 'O:A#13#10B#4': field Id contains a line break or a 0x04 byte|Id");
}

TEST(NotesRecordRoundTrip, EveryOtherByteSurvivesInEveryField) {
  std::string all;
  for (int b = 0; b < 256; ++b) {
    if (b == 0x04 || b == '\r' || b == '\n') continue;
    const std::string value = std::string("x") + char(b) + "'\"y";
    all += char(b);
    TVaqNotesString r = FullRecord();
    r.Id = r.Orig = r.Curr = r.PrevOrig = r.PrevCurr = r.Type = r.Open = r.Close = r.Comment = value;
    EXPECT_EQ(StringToNotesString(NotesStringToString(r, false), ""), r) << "byte " << b;
  }
  TVaqNotesString r = FullRecord();
  r.Orig = r.Curr = r.Comment = all;
  EXPECT_EQ(StringToNotesString(NotesStringToString(r, false), ""), r);
}

TEST(NotesRecordRoundTrip, NumbersDatesAndEmptyFields) {
  TVaqNotesString r;  // all text fields empty
  for (std::int32_t order :
       {std::numeric_limits<std::int32_t>::min(), -1, 0, std::numeric_limits<std::int32_t>::max()}) {
    for (std::uint8_t status : {0, 3, 255}) {
      r.Order = order;
      r.Status = status;
      r.Localize = !r.Localize;
      r.Created = 46000.123456789;
      r.Modified = -1.0 / 3;
      EXPECT_EQ(StringToNotesString(NotesStringToString(r, false), "x.ruz"), r);
    }
  }
}

TEST(NotesRecordRead, HandWrittenRecordInAnotherKeyOrderWithUnknownKey) {
  const std::string s =
      "/* ID:O:Form1.Caption\004Curr:'Hallo'\004Extra:ignored\004Status:2\004Orig:'Hello'\004Order:12"
      "\004Localize:0\004Comment:c\004Created:1.5\004Type:C:TListColumn\004 */";
  // Modified is missing: it reads as the default date.
  const TVaqNotesString expected{
      "O:Form1.Caption", "'Hello'", "'Hallo'", "", "",  StatusAutoTranslated,   12,
      "C:TListColumn",   false,     "",        "", 1.5, vaq::DefaultDateTime(), "c"};
  EXPECT_EQ(StringToNotesString(s, "Unit1.ruz"), expected);
  EXPECT_EQ(StringToNotesString(kFullRecordText, ""), FullRecord());
}

TEST(NotesRecordRead, BadStatusOrOrderFailsWithConversionError) {
  auto record = [](const char* status, const char* order, std::string more = "") {
    std::string s = "/* ID:X";
    if (status) s += std::string("\004Status:") + status;
    if (order) s += std::string("\004Order:") + order;
    return s + more + "\004 */";
  };
  EXPECT_EQ(StringToNotesString(record("255", "-3"), "").Status, 255);
  const std::pair<const char*, const char*> bad[] = {
      {nullptr, "3"}, {"", "3"}, {"1x", "3"},  {" 1", "3"},  {"256", "3"},        {"-1", "3"},
      {"1", nullptr}, {"1", ""}, {"1", "abc"}, {"1", "0x1"}, {"1", "2147483648"}, {"1", "+1"}};
  for (const auto& [status, order] : bad) {
    EXPECT_THROW(StringToNotesString(record(status, order), ""), vaq::EConvertError) << record(status, order);
  }
  // A date that is present must be a number; only a missing one takes the default.
  EXPECT_THROW(StringToNotesString(record("1", "3", "\004Created:"), ""), vaq::EConvertError);
}

}  // namespace
}  // namespace rux
