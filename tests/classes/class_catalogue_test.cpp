#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/classes/class_registry.h"
#include "host/framework/classes.h"
#include "host/framework/ide.h"

namespace vaq {
namespace {

// The names of a text separated by blanks.
std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while ((at = text.find_first_not_of(' ', at)) != std::string_view::npos) {
    const std::size_t end = std::min(text.find(' ', at), text.size());
    words.emplace_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

const std::vector<std::string> kNativeRegistered = Words(
    "TOpenDialog TSaveDialog TOpenPictureDialog TSavePictureDialog TFontDialog TColorDialog "
    "TPrintDialog TPrinterSetupDialog TFindDialog TReplaceDialog TPageSetupDialog TTimer TPaintBox "
    "TMediaPlayer TMainMenu TPopupMenu TLabel TEdit TMemo TButton TCheckBox TRadioButton TListBox "
    "TComboBox TScrollBar TGroupBox TRadioGroup TPanel TActionList TBitBtn TSpeedButton TMaskEdit "
    "TStringGrid TDrawGrid TImage TShape TBevel TScrollBox TCheckListBox TSplitter TStaticText "
    "TControlBar TApplicationEvents TValueListEditor TLabeledEdit TColorBox TTabControl TPageControl "
    "TImageList TRichEdit TTrackBar TProgressBar TUpDown THotKey TAnimate TDateTimePicker "
    "TMonthCalendar TTreeView TListView THeaderControl TStatusBar TToolBar TCoolBar TPageScroller "
    "TComboBoxEx TTabSheet TToolButton TAction TCustomDockForm TToolDockForm TOleContainer "
    "TDdeClientConv TDdeClientItem TDdeServerConv TDdeServerItem TTabSet TOutline TTabbedNotebook "
    "TNotebook THeader TFileListBox TDirectoryListBox TDriveComboBox TFilterComboBox");

const std::vector<std::string> kQtRegistered = Words(
    "TMainMenu TPopupMenu TLabel TEdit TMemo TButton TCheckBox TRadioButton TListBox TComboBox "
    "TScrollBar TGroupBox TRadioGroup TPanel TActionList TSpeedButton TBitBtn TMaskEdit TStringGrid "
    "TDrawGrid TImage TShape TBevel TScrollBox TCheckListBox TSplitter TControlBar TLCDNumber "
    "TPaintBox TTabControl TPageControl TImageList TTrackBar TProgressBar TTreeView TListView "
    "THeaderControl TAnimate TStatusBar TToolBar TTextViewer TTextBrowser TSpinEdit TIconView "
    "TOpenDialog TSaveDialog TFontDialog TColorDialog TFindDialog TReplaceDialog TDirectoryTreeView "
    "TFileListView TFileIconView TFileEdit TFileHistoryComboBox TFilterComboBox TTabSheet TToolButton "
    "TAction TGridScrollBar");

// Registered components are exactly the registration list plus the roots.
void ExpectRegisteredSet(TClassGroup Group, std::vector<std::string> Expected) {
  for (const auto& Name : Expected) {
    const auto* Class = FindClassInGroup(Group, Name);
    ASSERT_NE(Class, nullptr) << Name;
    EXPECT_TRUE(IsRegisteredComponent(*Class)) << Name;
  }
  Expected.insert(Expected.end(), {"TForm", "TFrame", "TDataModule"});
  std::vector<std::string> Actual;
  for (const auto* Class : ClassesOfGroup(Group))
    if (IsRegisteredComponent(*Class)) Actual.push_back(Class->Name);
  std::ranges::sort(Expected);
  std::ranges::sort(Actual);
  EXPECT_EQ(Actual, Expected);
}

TEST(ClassCatalogue, RegistrationListsHaveTheirSizes) {
  EXPECT_EQ(kNativeRegistered.size(), 84u);
  EXPECT_EQ(kQtRegistered.size(), 60u);
}

TEST(ClassCatalogue, NativeGroupRegistersExactlyItsList) {
  ExpectRegisteredSet(TClassGroup::Native, kNativeRegistered);
}

TEST(ClassCatalogue, QtGroupRegistersExactlyItsList) {
  ExpectRegisteredSet(TClassGroup::QtBased, kQtRegistered);
}

TEST(ClassCatalogue, HelperClassesExistInBothGroups) {
  for (auto Group : {TClassGroup::Native, TClassGroup::QtBased})
    for (const char* Name : {"TForm", "TFrame", "TDataModule", "TMenuItem", "TFont", "TStrings", "TPicture",
                             "TBitmap", "TIcon", "TSizeConstraints", "TListColumns", "TListColumn",
                             "TStatusPanels", "TStatusPanel", "THeaderSections", "THeaderSection"}) {
      const auto* Class = FindClassInGroup(Group, Name);
      ASSERT_NE(Class, nullptr) << Name;
      EXPECT_FALSE(Name == std::string("TMenuItem") && IsRegisteredComponent(*Class));
    }
}

TEST(ClassCatalogue, GroupSpecificClasses) {
  struct Case {
    const char* Name;
    bool InNative, InQt;
  };
  for (const auto& [Name, InNative, InQt] :
       {Case{"TLCDNumber", false, true}, Case{"TSpinEdit", false, true}, Case{"TRichEdit", true, false},
        Case{"TCoolBar", true, false}, Case{"TCoolBands", true, false}, Case{"TWidgetControl", false, true},
        Case{"TWinControl", true, false}, Case{"TButton", true, true}}) {
    EXPECT_EQ(FindClassInGroup(TClassGroup::Native, Name) != nullptr, InNative) << Name;
    EXPECT_EQ(FindClassInGroup(TClassGroup::QtBased, Name) != nullptr, InQt) << Name;
  }
}

TEST(ClassCatalogue, EachGroupResolvesItsOwnClass) {
  const auto* Native = FindClassInGroup(TClassGroup::Native, "TButton");
  const auto* Qt = FindClassInGroup(TClassGroup::QtBased, "TButton");
  ASSERT_TRUE(Native && Qt);
  EXPECT_NE(Native, Qt);
  EXPECT_TRUE(InheritsFrom(*Native, "TWinControl"));
  EXPECT_TRUE(InheritsFrom(*Qt, "TWidgetControl"));
  EXPECT_FALSE(InheritsFrom(*Qt, "TWinControl"));
  EXPECT_EQ(GetPropInfo(*Native, "Caption")->Kind, TTypeKind::tkLString);
  EXPECT_EQ(GetPropInfo(*Qt, "Caption")->Kind, TTypeKind::tkWString);
}

TEST(ClassRegistry, ActivationSwitchesLookupAndReturnsPreviousGroup) {
  const auto Saved = ActivateClassGroup(TClassGroup::Native);
  EXPECT_EQ(FindClass("TLCDNumber"), nullptr);
  EXPECT_NE(FindClass("TRichEdit"), nullptr);
  EXPECT_EQ(ActivateClassGroup(TClassGroup::QtBased), TClassGroup::Native);
  EXPECT_NE(FindClass("TLCDNumber"), nullptr);
  EXPECT_EQ(FindClass("TRichEdit"), nullptr);
  EXPECT_EQ(FindClass("TButton"), FindClassInGroup(TClassGroup::QtBased, "TButton"));
  EXPECT_EQ(ActivateClassGroup(Saved), TClassGroup::QtBased);
}

TEST(ClassRegistry, LookupIgnoresCase) {
  for (const char* Name : {"TButton", "tbutton", "TBUTTON", "tBuTtOn"}) {
    const auto* Class = FindClassInGroup(TClassGroup::Native, Name);
    ASSERT_NE(Class, nullptr) << Name;
    EXPECT_EQ(Class->Name, "TButton");
  }
  EXPECT_EQ(FindClassInGroup(TClassGroup::Native, "TButto"), nullptr);
  EXPECT_EQ(FindClassInGroup(TClassGroup::Native, ""), nullptr);
}

TEST(ClassRegistry, PropertiesResolveThroughAncestors) {
  struct Case {
    const char* Class;
    const char* Prop;
    TTypeKind Kind;
    const char* TypeName;
  };
  const Case Cases[] = {
      {"TButton", "Caption", TTypeKind::tkLString, "TCaption"},  // TControl
      {"TButton", "caption", TTypeKind::tkLString, "TCaption"},
      {"TButton", "TabOrder", TTypeKind::tkInteger, "TTabOrder"},   // TWinControl
      {"TButton", "Name", TTypeKind::tkLString, "TComponentName"},  // TComponent
      {"TButton", "OnClick", TTypeKind::tkMethod, "TNotifyEvent"},
      {"TButton", "Font", TTypeKind::tkClass, "TFont"},
      {"TButton", "Align", TTypeKind::tkEnumeration, "TAlign"},
      {"TButton", "Anchors", TTypeKind::tkSet, "TAnchors"},
      {"TButton", "Cancel", TTypeKind::tkEnumeration, "Boolean"},
      {"TMemo", "Lines", TTypeKind::tkClass, "TStrings"},
      {"TListView", "Columns", TTypeKind::tkClass, "TListColumns"},
      {"TStatusBar", "Panels", TTypeKind::tkClass, "TStatusPanels"},
      {"TBitBtn", "Glyph", TTypeKind::tkClass, "TBitmap"},
      {"TForm", "Icon", TTypeKind::tkClass, "TIcon"},
      {"TForm", "ActiveControl", TTypeKind::tkClass, "TWinControl"},
      {"TMenuItem", "ShortCut", TTypeKind::tkInteger, "TShortCut"},
      {"TOpenDialog", "Filter", TTypeKind::tkLString, "string"},
      {"TDBEdit", "DataSource", TTypeKind::tkClass, "TDataSource"},
  };
  for (const auto& C : Cases) {
    const auto* Class = FindClassInGroup(TClassGroup::Native, C.Class);
    ASSERT_NE(Class, nullptr) << C.Class;
    const auto* Prop = GetPropInfo(*Class, C.Prop);
    ASSERT_NE(Prop, nullptr) << C.Class << "." << C.Prop;
    EXPECT_EQ(Prop->Kind, C.Kind) << C.Class << "." << C.Prop;
    EXPECT_EQ(Prop->TypeName, C.TypeName) << C.Class << "." << C.Prop;
  }
  const auto* Button = FindClassInGroup(TClassGroup::Native, "TButton");
  EXPECT_EQ(GetPropInfo(*Button, "Lines"), nullptr);
  EXPECT_EQ(GetPropInfo(*Button, "Align")->Elements.front(), "alNone");
  EXPECT_EQ(GetPropInfo(*Button, "Anchors")->Elements,
            (std::vector<std::string>{"akLeft", "akTop", "akRight", "akBottom"}));
}

TEST(ClassRegistry, InheritsFromFollowsTheParentChain) {
  const auto* Grid = FindClassInGroup(TClassGroup::Native, "TStringGrid");
  ASSERT_NE(Grid, nullptr);
  EXPECT_TRUE(InheritsFrom(*Grid, "TStringGrid"));
  EXPECT_TRUE(InheritsFrom(*Grid, "tdrawgrid"));
  EXPECT_TRUE(InheritsFrom(*Grid, "TComponent"));
  EXPECT_TRUE(InheritsFrom(*Grid, "TPersistent"));
  EXPECT_FALSE(InheritsFrom(*Grid, "TGraphicControl"));
  const auto* Columns = FindClassInGroup(TClassGroup::Native, "TListColumns");
  ASSERT_NE(Columns, nullptr);
  EXPECT_TRUE(InheritsFrom(*Columns, "TCollection"));
  ASSERT_NE(Columns->ItemClass, nullptr);
  EXPECT_EQ(Columns->ItemClass->Name, "TListColumn");
}

TEST(ClassCatalogueNotation, RejectsFaultyText) {
  const char* Faulty[] = {
      "class TA : TMissing\n",           // unknown parent
      "class TA\n  P: TUnknownType\n",   // unknown property type
      "class TA\nclass ta\n",            // duplicate, case-insensitively
      "  P: Integer\n",                  // property outside a class
      "group nowhere\n",                 // unknown group
      "scalar number: TX\n",             // unknown kind
      "class TA : TB\nclass TB : TA\n",  // cycle
      "class TA items TMissing\n",       // unknown item class
  };
  for (const char* Text : Faulty) EXPECT_THROW(classes::ParseCatalogue(Text), std::invalid_argument) << Text;
}

TEST(ClassCatalogueNotation, ReadsPerGroupVariants) {
  const auto Parsed = classes::ParseCatalogue(
      "scalar integer: Integer\nclass TBase\nclass TOther\nclass TA : TBase|TOther registered\n  X, Y: "
      "Integer\n"
      "group qt\nclass TQ : TA\n");
  const auto& Native = Parsed.Groups[0];
  const auto& Qt = Parsed.Groups[1];
  EXPECT_EQ(Native.ByName.at("ta")->Parent->Name, "TBase");
  EXPECT_EQ(Qt.ByName.at("ta")->Parent->Name, "TOther");
  EXPECT_TRUE(Native.ByName.at("ta")->RegisteredComponent);
  EXPECT_EQ(Native.ByName.at("ta")->Properties.size(), 2u);
  EXPECT_FALSE(Native.ByName.contains("tq"));
  EXPECT_EQ(Qt.PropsOf.at(Qt.ByName.at("tq")).size(), 2u);
}

TEST(LocalizableCategory, DecidesByNameTypeAndClass) {
  struct Case {
    const char* Class;
    const char* Prop;
    bool Localizable;
  };
  const Case Cases[] = {
      // texts
      {"TButton", "Caption", true},
      {"TEdit", "Text", true},
      {"TButton", "Hint", true},
      {"TOpenDialog", "Title", true},
      {"TOpenDialog", "Filter", true},
      {"TListBox", "Items", true},
      {"TMemo", "Lines", true},
      {"TStrings", "Strings", true},
      {"TMemo", "Lines.Strings", false},
      {"TMenuItem", "Caption", true},
      {"TRadioGroup", "Items[2]", true},
      {"TMainMenu", "Items", true},
      {"TUnknownClass", "DisplayLabel", true},
      {"TStatusBar", "SimpleText", true},
      // layout
      {"TButton", "Left", true},
      {"TButton", "Top", true},
      {"TButton", "Width", true},
      {"TButton", "Height", true},
      {"TForm", "ClientWidth", true},
      {"TForm", "ClientHeight", true},
      {"TButton", "Constraints", true},
      {"TSizeConstraints", "MaxWidth", true},
      // fonts
      {"TLabel", "Font", true},
      {"TFont", "Name", true},
      {"TFont", "Charset", true},
      {"TFontDialog", "Font", true},
      // bidirectional and input method
      {"TEdit", "BiDiMode", true},
      {"TEdit", "ParentBiDiMode", true},
      {"TEdit", "ImeMode", true},
      {"TEdit", "ImeName", true},
      // pictures and icons
      {"TImage", "Picture", true},
      {"TBitBtn", "Glyph", true},
      {"TForm", "Icon", true},
      {"TPicture", "Data", true},
      {"TCoolBar", "Bitmap", true},
      {"TOutline", "PictureLeaf", true},
      // shortcuts
      {"TMenuItem", "ShortCut", true},
      {"THotKey", "HotKey", true},
      {"TAction", "ShortCut", true},
      // collections answer for their items
      {"TListColumns", "Caption", true},
      {"TListColumns", "Width", true},
      {"TListColumns", "ImageIndex", false},
      {"TStatusPanels", "Text", true},
      {"THeaderSections", "Text", true},
      {"TStatusPanels", "Style", false},
      // not localizable
      {"TButton", "Name", false},
      {"TButton", "Tag", false},
      {"TButton", "TabOrder", false},
      {"TButton", "TabStop", false},
      {"TButton", "OnClick", false},
      {"TForm", "OnCreate", false},
      {"TDBEdit", "DataSource", false},
      {"TDBEdit", "DataField", false},
      {"TButton", "Cancel", false},
      {"TButton", "Color", false},
      {"TButton", "Enabled", false},
      {"TButton", "Visible", false},
      {"TButton", "Align", false},
      {"TTimer", "Interval", false},
      {"TLabel", "FocusControl", false},
      {"TUnknownClass", "Whatever", false},
      // Qt-based framework classes
      {"TLCDNumber", "Value", true},
      {"TSpinEdit", "Prefix", true},
      {"TSpinEdit", "Value", false},
      {"TIconViewItems", "Caption", true},
  };
  const auto Saved = ActivateClassGroup(TClassGroup::Native);
  for (const auto& C : Cases)
    EXPECT_EQ(IsPropertyInCategory(sLocalizableCategoryName, C.Class, C.Prop), C.Localizable)
        << C.Class << "." << C.Prop;
  ActivateClassGroup(Saved);
}

TEST(LocalizableCategory, OtherCategoriesAreEmpty) {
  EXPECT_EQ(std::string(sLocalizableCategoryName), "Localizable");
  EXPECT_TRUE(IsPropertyInCategory("localizable", "TButton", "Caption"));
  EXPECT_FALSE(IsPropertyInCategory("Visual", "TButton", "Caption"));
}

}  // namespace
}  // namespace vaq

namespace vaq {
namespace {

TEST(ClassRegistration, RegisteringMakesACatalogueClassARegisteredComponent) {
  const TClassInfo* dataSource = FindClassInGroup(TClassGroup::Native, "TDataSource");
  ASSERT_NE(dataSource, nullptr);
  EXPECT_FALSE(IsRegisteredComponent(*dataSource));
  EXPECT_TRUE(RegisterClass(TClassGroup::Native, "tdatasource"));
  EXPECT_TRUE(IsRegisteredComponent(*dataSource));
  EXPECT_FALSE(RegisterClass(TClassGroup::QtBased, "TRichEdit")) << "the Qt-based group has no such class";
  EXPECT_FALSE(RegisterClass(TClassGroup::Native, "TNoSuchClass"));
}

}  // namespace
}  // namespace vaq
