#include "host/core/notes_strings.h"

#include <gtest/gtest.h>

namespace vaq {
namespace {

const std::string kRecord = "/* ID:O:Form1.Caption\004Orig:'a'\004Status:1\004Curr:'b'\004 */";

TEST(GetValue, ReadsUpToTheNextSeparatorOrTheEnd) {
  EXPECT_EQ(GetValue(kRecord, "ID:"), "O:Form1.Caption");
  EXPECT_EQ(GetValue(kRecord, "\004Orig:"), "'a'");
  EXPECT_EQ(GetValue(kRecord, "\004Curr:"), "'b'");
  EXPECT_EQ(GetValue("ID:x\004Orig:tail", "\004Orig:"), "tail");
}

TEST(GetValue, AbsentKeyGivesTheDefault) {
  EXPECT_EQ(GetValue(kRecord, "\004Comment:", "none"), "none");
  EXPECT_EQ(GetValue(kRecord, "\004Comment:"), "");
  EXPECT_EQ(GetValue("", "ID:", "d"), "d");
}

TEST(GetValue, TakesTheFirstOccurrence) {
  EXPECT_EQ(GetValue("ID:1\004K:first\004K:second", "\004K:"), "first");
}

TEST(GetValue, KeyTextInsideAValueDoesNotMatchASeparatedKey) {
  // "Orig:" appears inside the Id, but the key starts with 0x04 and so cannot match there.
  const std::string s = "/* ID:O:F.Orig:x\004Orig:'v'\004 */";
  EXPECT_EQ(GetValue(s, "\004Orig:"), "'v'");
}

TEST(SetValue, ReplacesAnExistingValue) {
  EXPECT_EQ(SetValue(kRecord, "\004Status:", "0"),
            "/* ID:O:Form1.Caption\004Orig:'a'\004Status:0\004Curr:'b'\004 */");
  EXPECT_EQ(SetValue(kRecord, "\004Orig:", ""),
            "/* ID:O:Form1.Caption\004Orig:\004Status:1\004Curr:'b'\004 */");
  EXPECT_EQ(SetValue("ID:x\004Orig:tail", "\004Orig:", "new"), "ID:x\004Orig:new");
}

TEST(SetValue, AddsAnAbsentKeyBeforeTheClosing) {
  EXPECT_EQ(SetValue(kRecord, "\004Comment:", "c"),
            "/* ID:O:Form1.Caption\004Orig:'a'\004Status:1\004Curr:'b'\004Comment:c\004 */");
}

TEST(SetValue, AddsAnAbsentKeyAtTheEndWithoutClosing) {
  EXPECT_EQ(SetValue("ID:x", "\004Orig:", "v"), "ID:x\004Orig:v");
  EXPECT_EQ(SetValue("", "ID:", "v"), "ID:v");
}

TEST(SetValue, ReadsBackWhatItWrote) {
  std::string s = kRecord;
  for (const char* key : {"\004Orig:", "\004Curr:", "\004Comment:", "\004Order:"}) {
    s = SetValue(s, key, std::string("value of ") + (key + 1));
    EXPECT_EQ(GetValue(s, key), std::string("value of ") + (key + 1));
  }
  EXPECT_EQ(GetValue(s, "ID:"), "O:Form1.Caption");
}

}  // namespace
}  // namespace vaq
