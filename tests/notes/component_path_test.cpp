#include "notes/component_path.h"

#include <gtest/gtest.h>

#include <string>

namespace rux {
namespace {

TEST(ComponentPath, PartsOfAnId) {
  struct Case {
    const char* id;
    const char* object;
    const char* full;
    const char* path;
    const char* prop;
  };
  const Case cases[] = {
      {"O:Form1.O:Panel1.O:Button1.Caption", "Button1", "O:Form1.O:Panel1.O:Button1.",
       "O:Form1.O:Panel1.O:Button1", "Caption"},
      {"O:Form1.O:Button1.Font.Name", "Button1", "O:Form1.O:Button1.", "O:Form1.O:Button1", "Font"},
      {"O:Form1.O:Memo1.Lines.Strings[0]", "Memo1", "O:Form1.O:Memo1.", "O:Form1.O:Memo1", "Lines"},
      {"O:F.L:ListView1.Columns[2].Caption", "ListView1", "O:F.L:ListView1.", "O:F.L:ListView1", "Columns"},
      {"O:F.O:ListBox1.Items [3]", "ListBox1", "O:F.O:ListBox1.", "O:F.O:ListBox1", "Items"},
      {"O:F.I:[2]TLabel.Caption", "[2]TLabel", "O:F.I:[2]TLabel.", "O:F.I:[2]TLabel", "Caption"},
      {"O:Form1.O:Panel1.", "Panel1", "O:Form1.O:Panel1.", "O:Form1.O:Panel1", ""},  // header record
      {"Form1.Caption", "Form1", "Form1.", "Form1.Caption", "Caption"},              // no ":"
      {"O:Form1", "Form1", "O", "O:Form1", ""},  // no "." after the last ":"
      {"", "", "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetObjectName(c.id), c.object) << c.id;
    EXPECT_EQ(GetFullObjectName(c.id), c.full) << c.id;
    EXPECT_EQ(GetComponentPath(c.id), c.path) << c.id;
    EXPECT_EQ(GetPropName(c.id), c.prop) << c.id;
  }
}

TEST(ComponentPath, IdsLongerThan16BitPositions) {
  const std::string deep(70000, 'a');
  const std::string id = "O:Form1.O:" + deep + ".Caption";
  EXPECT_EQ(GetObjectName(id), deep);
  EXPECT_EQ(GetFullObjectName(id), "O:Form1.O:" + deep + ".");
  EXPECT_EQ(GetComponentPath(id), "O:Form1.O:" + deep);
  EXPECT_EQ(GetPropName(id), "Caption");
  EXPECT_EQ(GetPropName("O:X." + deep), deep);
}

TEST(ComponentPath, ClassNames) {
  vaq::TVaqNotesString r;
  const std::pair<const char*, const char*> cases[] = {
      {"C:TListColumn", "TListColumn"}, {"TLabel [3]", "TLabel"}, {"C", "C"}, {"C:", ""}, {"TEdit", "TEdit"}};
  for (const auto& [type, expected] : cases) {
    r.Type = type;
    EXPECT_EQ(GetClassName(r, true, nullptr), expected) << type;
  }
  TFormInfo info;
  info.FormClass = "TMainForm";
  info.RootClass = "TForm";
  r.Type = "tmainform";
  EXPECT_EQ(GetClassName(r, true, &info), "TForm");
  EXPECT_EQ(GetClassName(r, false, &info), "tmainform");
  r.Type = "TForm";
  EXPECT_EQ(GetClassName(r, true, &info), "TForm");
  r.Type = "TDataModule";
  EXPECT_EQ(GetClassName(r, true, nullptr), "TDataModule");  // nothing to replace it by
  r.Type = "TMainForm [0]";
  r.Id = "O:MainForm.Caption";
  std::string className, propName;
  GetClassAndPropNames(r, className, propName, &info);
  EXPECT_EQ(className, "TForm");
  EXPECT_EQ(propName, "Caption");
}

TEST(ComponentPath, RootBaseClasses) {
  for (const char* name :
       {"tform", "TFORM", "TDataModule", "TFrame", "TAppletModule", "TWebModule", "TPropertySheet",
        "TService", "TActiveForm", "TPropertyPage", "TCRemoteDataModule", "TRemoteDataModule",
        "TMtsDataModule", "TCorbaDataModule", "TQuickRep", "twincontrol"}) {
    EXPECT_TRUE(VaqIsRootBaseClass(name, nullptr)) << name;
  }
  EXPECT_FALSE(VaqIsRootBaseClass("TForm1", nullptr));
  EXPECT_FALSE(VaqIsRootBaseClass("", nullptr));
  TFormInfo info;
  info.FormClass = "TMainForm";
  EXPECT_TRUE(VaqIsRootBaseClass("tMAINform", &info));
  EXPECT_FALSE(VaqIsRootBaseClass("TForm", &info));
}

}  // namespace
}  // namespace rux
