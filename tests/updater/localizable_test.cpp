#include "updater/localizable.h"

#include <gtest/gtest.h>

#include <string>

namespace rux {
namespace {

struct LocalizableCase {
  const char* Name;
  std::string Id;
  std::string Type;
  std::string Orig;
  bool Expected;
};

class Localizable : public ::testing::TestWithParam<LocalizableCase> {};

TEST_P(Localizable, Decides) {
  vaq::TVaqNotesString Record;
  Record.Id = GetParam().Id;
  Record.Type = GetParam().Type;
  Record.Orig = GetParam().Orig;
  EXPECT_EQ(IsLocalizable(Record, nullptr), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Localizable,
    ::testing::Values(
        LocalizableCase{"ButtonCaption", "O:Form1.O:Button1.Caption", "TButton", "'OK'", true},
        LocalizableCase{"ButtonTabOrder", "O:Form1.O:Button1.TabOrder", "TButton", "1", false},
        LocalizableCase{"ButtonName", "O:Form1.O:Button1.Name", "TButton", "'Button1'", false},
        LocalizableCase{"ButtonFontName", "O:Form1.O:Button1.Font.Name", "TButton [2]", "'Arial'", true},
        LocalizableCase{"FormTabStop", "O:Form1.TabStop", "TForm", "True", false},
        LocalizableCase{"FrameTabOrder", "O:Form1.TabOrder", "TFrame", "1", false},
        LocalizableCase{"CollectionIndexLine", "O:Form1.O:List1.Columns[0]", "C:TListView", "5", false},
        LocalizableCase{"UnknownClass", "O:Form1.O:Gizmo1.Whatever", "TNoSuchGizmo", "1", true},
        LocalizableCase{"UnknownProperty", "O:Form1.O:Button1.NoSuchProperty", "TButton", "1", true},
        LocalizableCase{"MarkerLine", "O:Form1.O:Button1.", "TButton", "", false},
        LocalizableCase{"HugeValue", "O:Form1.O:Button1.Caption", "TButton", std::string(20001, 'x'), false},
        LocalizableCase{"LongValueAtLimit", "O:Form1.O:Button1.Caption", "TButton", std::string(20000, 'x'),
                        true}),
    [](const auto& Info) { return std::string(Info.param.Name); });

}  // namespace
}  // namespace rux
