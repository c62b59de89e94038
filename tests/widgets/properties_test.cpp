// Properties of live components through the class catalogue: set from form-text value notation,
// read back in that notation, and the property error for unknown names and bad values.
#include <gtest/gtest.h>

#include <QAbstractButton>

#include "framework/widgets/controls.h"
#include "framework/widgets/properties.h"
#include "widgets/read_form.h"

namespace vaq::widgets {
namespace {

using testing::Find;
using testing::ReadForm;

std::string ErrorOf(TComponent& Component, const std::string& Path, const std::string& Text) {
  try {
    SetPropText(Component, Path, Text);
  } catch (const EPropertyError& error) {
    return error.what();
  }
  return "";
}

TEST(Properties, SetFromFormTextAndReadBack) {
  auto form = ReadForm("object F: TForm\n object B: TButton\n end\n object C: TComboBox\n end\nend\n").Form;
  TControl& button = *Find(*form, "B");
  SetPropText(button, "Caption", "'It''s'");
  SetPropText(button, "Left", "12");
  SetPropText(button, "Font.Style", "[fsBold, fsItalic]");
  SetPropText(button, "Color", "clRed");
  SetPropText(button, "Enabled", "False");
  SetPropText(button, "Anchors", "[akRight, akBottom]");
  EXPECT_EQ(button.Caption(), u"It's");
  EXPECT_EQ(static_cast<QAbstractButton*>(button.Widget())->text(), QStringLiteral("It's"));
  EXPECT_EQ(button.Left(), 12);
  EXPECT_TRUE(button.EffectiveFont().Bold && button.EffectiveFont().Italic);
  EXPECT_FALSE(button.Widget()->isEnabled());
  EXPECT_EQ(GetPropText(button, "Caption"), "'It'#39's'");
  EXPECT_EQ(GetPropText(button, "Left"), "12");
  EXPECT_EQ(GetPropText(button, "Font.Style"), "[fsBold, fsItalic]");
  EXPECT_EQ(GetPropText(button, "Color"), "clRed");
  EXPECT_EQ(GetPropText(button, "Enabled"), "False");
  EXPECT_EQ(GetPropText(button, "Hint"), "");

  TControl& combo = *Find(*form, "C");
  SetPropText(combo, "Items.Strings", "('One' 'Two')");
  EXPECT_EQ(dynamic_cast<TItemsControl&>(combo).WidgetItems(), (std::vector<std::u16string>{u"One", u"Two"}));
  EXPECT_EQ(GetPropText(combo, "Items.Strings"), "('One' 'Two')");
}

TEST(Properties, UnknownPropertiesAndBadValuesRaiseThePropertyError) {
  auto form = ReadForm("object F: TForm\n object B: TButton\n end\nend\n").Form;
  TControl& button = *Find(*form, "B");
  EXPECT_EQ(ErrorOf(button, "Colour", "clRed"), "Property Colour does not exist");
  EXPECT_EQ(ErrorOf(button, "Font.Weight", "1"), "Property Font.Weight does not exist");
  EXPECT_EQ(ErrorOf(button, "Items.Strings", "('a')"), "Property Items.Strings does not exist");
  EXPECT_EQ(ErrorOf(button, "Visible", "'yes'"), "Invalid property value");
  EXPECT_EQ(ErrorOf(button, "Align", "alMiddle"), "Invalid property value");
  EXPECT_EQ(ErrorOf(button, "Font.Style", "[fsHeavy]"), "Invalid property value");
  EXPECT_EQ(ErrorOf(button, "Color", "clNoSuchColour"), "Invalid property value");
  EXPECT_EQ(ErrorOf(button, "Left", "'ten'"), "Invalid property value");
  EXPECT_EQ(ErrorOf(button, "Caption", "'unterminated"), "Invalid property value");
  EXPECT_THROW(GetPropText(button, "NoSuchThing"), EPropertyError);
  // Nothing of the failed attempts reached the control.
  EXPECT_TRUE(button.Visible());
  EXPECT_EQ(button.Align(), TAlign::alNone);
}

TEST(Properties, CollectionsAreCheckedItemByItem) {
  auto form = ReadForm("object F: TForm\n object S: TStatusBar\n end\nend\n").Form;
  TControl& bar = *Find(*form, "S");
  SetPropText(bar, "Panels", "<item Text = 'Ready' Width = 50 end item Text = 'Two' end>");
  EXPECT_EQ(bar.DisplayText(), u"Ready | Two");
  // An item property of another version of the class stays with the item; a value that does not
  // fit a known one is refused.
  EXPECT_EQ(ErrorOf(bar, "Panels", "<item Width = 'wide' end>"), "Invalid property value");
  SetPropText(bar, "Panels", "<item Colour = 1 Text = 'Three' end>");
  EXPECT_EQ(bar.DisplayText(), u"Three");
}

// A property the class does not have is kept when a form is read, so that its texts show (the
// Text of another framework's button); one whose value does not fit is left out.
TEST(Properties, UnknownPropertiesOfAReadFormKeepTheirTexts) {
  auto read = ReadForm(
      "object F: TForm\n object B: TButton\n  Text = 'Open'\n end\n object S: TStatusBar\n  "
      "Panels = <item Caption = 'Ready' end>\n end\n object L: TListBox\n  Left = 'far'\n end\nend\n");
  EXPECT_EQ(read.Errors.size(), 2u);
  EXPECT_EQ(Find(*read.Form, "B")->DisplayText(), u"Open");
  EXPECT_EQ(Find(*read.Form, "S")->DisplayText(), u"Ready");
  EXPECT_EQ(Find(*read.Form, "L")->Left(), 0);
}

}  // namespace
}  // namespace vaq::widgets
