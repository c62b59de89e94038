// The frameworks' layout computed by the layer: Align in the frameworks' order, Anchors keeping
// their distances, AutoSize labels; fonts and colours mapped deterministically.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "framework/widgets/properties.h"
#include "widgets/read_form.h"

namespace vaq::widgets {
namespace {

using testing::Find;
using testing::ReadForm;

TEST(Align, FillsTheClientAreaInTheFrameworksOrder) {
  auto form = ReadForm(R"(object F: TForm
  ClientWidth = 400
  ClientHeight = 300
  object Client: TMemo
    Align = alClient
  end
  object Right: TPanel
    Width = 50
    Align = alRight
  end
  object Left: TPanel
    Width = 100
    Align = alLeft
  end
  object Bottom: TStatusBar
  end
  object Top2: TPanel
    Top = 100
    Height = 20
    Align = alTop
  end
  object Top1: TPanel
    Top = 0
    Height = 30
    Align = alTop
  end
end
)")
                  .Form;
  EXPECT_EQ(Find(*form, "Top1")->BoundsRect(), QRect(0, 0, 400, 30));
  EXPECT_EQ(Find(*form, "Top2")->BoundsRect(), QRect(0, 30, 400, 20));
  EXPECT_EQ(Find(*form, "Bottom")->BoundsRect(), QRect(0, 281, 400, 19));
  EXPECT_EQ(Find(*form, "Left")->BoundsRect(), QRect(0, 50, 100, 231));
  EXPECT_EQ(Find(*form, "Right")->BoundsRect(), QRect(350, 50, 50, 231));
  EXPECT_EQ(Find(*form, "Client")->BoundsRect(), QRect(100, 50, 250, 231));

  // A resized form arranges again; a hidden control gives its room away.
  form->SetClientSize(500, 300);
  EXPECT_EQ(Find(*form, "Client")->BoundsRect(), QRect(100, 50, 350, 231));
  SetPropText(*Find(*form, "Top2"), "Visible", "False");
  EXPECT_EQ(Find(*form, "Client")->BoundsRect(), QRect(100, 30, 350, 251));
}

TEST(Align, NestedContainersArrangeInsideTheirBevels) {
  auto form = ReadForm(R"(object F: TForm
  ClientWidth = 300
  ClientHeight = 200
  object P: TPanel
    Left = 10
    Top = 10
    Width = 200
    Height = 100
    BevelOuter = bvRaised
    BevelInner = bvLowered
    BorderWidth = 2
    object Inner: TButton
      Align = alClient
    end
  end
end
)")
                  .Form;
  // Outer and inner bevel of one pixel each and a border of two.
  EXPECT_EQ(Find(*form, "Inner")->BoundsRect(), QRect(4, 4, 192, 92));
  EXPECT_EQ(Find(*form, "Inner")->FormRect(), QRect(14, 14, 192, 92));
}

TEST(Anchors, RightAndBottomAnchoredControlsKeepTheirDistance) {
  auto form = ReadForm(R"(object F: TForm
  BorderStyle = bsDialog
  ClientWidth = 360
  ClientHeight = 200
  object Fixed: TButton
    Left = 10
    Top = 10
  end
  object Corner: TButton
    Left = 274
    Top = 164
    Anchors = [akRight, akBottom]
  end
  object Wide: TEdit
    Left = 10
    Top = 40
    Width = 340
    Anchors = [akLeft, akTop, akRight]
  end
  object Free: TButton
    Left = 100
    Top = 100
    Anchors = []
  end
end
)")
                  .Form;
  form->SetClientSize(460, 250);
  EXPECT_EQ(Find(*form, "Fixed")->BoundsRect(), QRect(10, 10, 75, 25));
  EXPECT_EQ(Find(*form, "Corner")->BoundsRect(), QRect(374, 214, 75, 25));
  EXPECT_EQ(Find(*form, "Wide")->BoundsRect(), QRect(10, 40, 440, 21));
  EXPECT_EQ(Find(*form, "Free")->BoundsRect(), QRect(150, 125, 75, 25));
  // Back to the designed size, back to the designed bounds.
  form->SetClientSize(360, 200);
  EXPECT_EQ(Find(*form, "Corner")->BoundsRect(), QRect(274, 164, 75, 25));
  EXPECT_EQ(Find(*form, "Wide")->Width(), 340);
}

TEST(AutoSize, LabelsTakeTheSizeOfTheirText) {
  auto form = ReadForm(R"(object F: TForm
  object L: TLabel
    Left = 8
    Top = 8
    Caption = 'Street'
  end
  object R: TLabel
    Left = 100
    Top = 8
    Width = 100
    Alignment = taRightJustify
    AutoSize = True
    Caption = 'City'
  end
  object Fixed: TLabel
    Left = 8
    Top = 40
    Width = 200
    Height = 30
    AutoSize = False
    Caption = 'x'
  end
end
)")
                  .Form;
  QFontMetrics metrics(ToQFont(TFontSpec()));
  auto width = [&](const char* text) {
    return metrics.boundingRect(QRect(0, 0, 10000, 10000), Qt::TextShowMnemonic, QString::fromUtf8(text))
        .width();
  };
  auto* l = Find(*form, "L");
  EXPECT_EQ(l->Width(), width("Street"));
  EXPECT_EQ(l->Height(), metrics.height());
  SetPropText(*l, "Caption", "'Street (delivery)'");
  EXPECT_EQ(l->Width(), width("Street (delivery)"));
  // Right-justified labels keep their right edge.
  auto* r = Find(*form, "R");
  EXPECT_EQ(r->Left() + r->Width(), 200);
  EXPECT_EQ(Find(*form, "Fixed")->BoundsRect(), QRect(8, 40, 200, 30));
}

TEST(Fonts, HeightAndSizeFollowNinetySixDotsPerInch) {
  TFontSpec font;
  EXPECT_EQ(font.Size(), 8);
  font.SetSize(12);
  EXPECT_EQ(font.Height, -16);
  font.Height = -13;
  EXPECT_EQ(font.Size(), 10);
  font.Name = "Courier New";
  EXPECT_EQ(ToQFont(font).family(), QStringLiteral("DejaVu Sans Mono"));
  EXPECT_EQ(ToQFont(font).pixelSize(), 13);
  font.Name = "Tahoma";
  EXPECT_EQ(ToQFont(font).family(), QStringLiteral("DejaVu Sans"));

  auto form = ReadForm(R"(object F: TForm
  Font.Name = 'Tahoma'
  Font.Style = [fsBold]
  object Inherits: TButton
  end
  object Own: TButton
    Font.Height = -16
    ParentFont = False
  end
end
)")
                  .Form;
  EXPECT_TRUE(Find(*form, "Inherits")->EffectiveFont().Bold);
  EXPECT_TRUE(Find(*form, "Inherits")->Widget()->font().bold());
  EXPECT_FALSE(Find(*form, "Own")->EffectiveFont().Bold);
  EXPECT_EQ(Find(*form, "Own")->Widget()->font().pixelSize(), 16);
}

TEST(Colors, SystemColoursComeFromTheFixedPalette) {
  EXPECT_EQ(ToQColor(*IdentToColor("clBtnFace")), QColor(0xF0, 0xF0, 0xF0));
  EXPECT_EQ(ToQColor(*IdentToColor("clWindow")), QColor(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(ToQColor(*IdentToColor("clred")), QColor(0xFF, 0, 0));
  EXPECT_EQ(ToQColor(0x00FF8000), QColor(0x00, 0x80, 0xFF));
  EXPECT_FALSE(IdentToColor("clNoSuchColour"));
  EXPECT_EQ(ColorToString(*IdentToColor("clBtnFace")), "clBtnFace");
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
}

}  // namespace
}  // namespace vaq::widgets
