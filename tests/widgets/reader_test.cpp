// Reading forms into live components: classes, children in their parents, inherited components,
// unknown classes, errors that are skipped, damaged data, and texts in the form language's code page.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "framework/widgets/controls.h"
#include "framework/widgets/menus.h"
#include "framework/widgets/render.h"
#include "support/form_generator.h"
#include "widgets/read_form.h"

namespace vaq::widgets {
namespace {

using testing::Find;
using testing::ReadForm;

constexpr TLCID kRussian = 0x0419, kGreek = 0x0408, kJapanese = 0x0411;

const char* kDialog = R"(object BaseDialog: TBaseDialog
  BorderStyle = bsDialog
  Caption = 'Dialog'
  ClientHeight = 200
  ClientWidth = 360
  object btnOK: TButton
    Left = 190
    Top = 164
    Caption = 'OK'
    Default = True
    OnClick = btnOKClick
  end
  object btnCancel: TButton
    Left = 274
    Top = 164
    Caption = 'Cancel'
  end
end
)";

TEST(Reader, BuildsComponentsInTheirParents) {
  auto result = ReadForm(R"(object Main: TMainForm
  Caption = 'Orders'
  ClientWidth = 400
  ClientHeight = 300
  Menu = mnuMain
  object gb: TGroupBox
    Left = 8
    Top = 8
    Caption = 'Group'
    object chk: TCheckBox
      Left = 10
      Top = 20
      Caption = 'Check'
      Checked = True
    end
  end
  object rg: TRadioGroup
    Left = 200
    Top = 8
    Items.Strings = (
      'Metric'
      'Imperial')
    ItemIndex = 1
  end
  object mnuMain: TMainMenu
    object mnuFile: TMenuItem
      Caption = '&File'
      object mnuOpen: TMenuItem
        Caption = '&Open...'
      end
    end
  end
end
)");
  ASSERT_TRUE(result.Errors.empty()) << result.Errors.front();
  TForm& form = *result.Form;
  EXPECT_EQ(form.Name(), "Main");
  EXPECT_EQ(form.ClassName(), "TMainForm");
  EXPECT_EQ(form.Window()->windowTitle(), QStringLiteral("Orders"));
  auto* gb = Find(form, "gb");
  auto* chk = Find(form, "chk");
  EXPECT_EQ(chk->Parent(), gb);
  EXPECT_EQ(chk->Widget()->parentWidget(), gb->Widget());
  EXPECT_EQ(chk->FormRect(), QRect(18, 28, 97, 17));
  EXPECT_TRUE(static_cast<QCheckBox*>(chk->Widget())->isChecked());
  EXPECT_EQ(gb->BoundsRect(), QRect(8, 8, 185, 105));
  auto& rg = dynamic_cast<TItemsControl&>(*Find(form, "rg"));
  EXPECT_EQ(rg.WidgetItems(), (std::vector<std::u16string>{u"Metric", u"Imperial"}));
  // The main menu is the menu bar; the client area lies below it.
  ASSERT_NE(form.MenuBar(), nullptr);
  EXPECT_EQ(form.MenuBar()->actions().size(), 1);
  EXPECT_EQ(form.MenuBar()->actions()[0]->text(), QStringLiteral("&File"));
  EXPECT_EQ(form.ClientHeight(), 300);
  EXPECT_EQ(form.Height(), 300 + 23 + 8 + 20);
  auto* menu = Find<TComponent>(form, "mnuMain");
  EXPECT_FALSE(menu->IsControl());
  EXPECT_EQ(dynamic_cast<TMenu*>(menu)->Items().size(), 1u);
}

TEST(Reader, InheritedComponentsUpdateTheAncestorsOnes) {
  auto base = ReadForm(kDialog);
  auto derived = ReadForm(R"(inherited OptionsDialog: TOptionsDialog
  Caption = 'Options'
  inherited btnOK: TButton
    Caption = '&Apply'
  end
  object chkAutoSave: TCheckBox
    Left = 16
    Top = 16
    Caption = 'Save orders automatically'
  end
end
)",
                          TClassGroup::Native, 0x0409, std::move(base.Form));
  TForm& form = *derived.Form;
  EXPECT_EQ(form.Name(), "OptionsDialog");
  EXPECT_EQ(form.Components().size(), 3u);
  EXPECT_EQ(Find(form, "btnOK")->Caption(), u"&Apply");
  EXPECT_EQ(Find(form, "btnOK")->BoundsRect(), QRect(190, 164, 75, 25));
  EXPECT_EQ(Find(form, "btnCancel")->Caption(), u"Cancel");
  EXPECT_EQ(Find(form, "chkAutoSave")->Parent(), &form);
  EXPECT_EQ(form.Window()->windowTitle(), QStringLiteral("Options"));
}

TEST(Reader, UnknownClassesBecomePlaceholdersThatKeepTheirChildren) {
  auto result = ReadForm(R"(object F: TForm
  object Grid1: TVendorSuperGrid
    Left = 10
    Top = 20
    Width = 200
    Height = 100
    VendorOption = 3
    object btnInside: TButton
      Left = 5
      Top = 6
      Caption = 'Inside'
    end
  end
  object Conn: TVendorConnection
    Left = 16
    Top = 16
    Server = 'db'
  end
end
)");
  EXPECT_TRUE(result.Errors.empty());
  auto* grid = Find<TPlaceholder>(*result.Form, "Grid1");
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->ClassName(), "TVendorSuperGrid");
  EXPECT_EQ(grid->BoundsRect(), QRect(10, 20, 200, 100));
  EXPECT_FALSE(grid->NonVisual());
  auto* inside = Find(*result.Form, "btnInside");
  EXPECT_EQ(inside->Parent(), grid);
  EXPECT_EQ(inside->FormRect(), QRect(15, 26, 75, 25));
  auto* conn = Find<TPlaceholder>(*result.Form, "Conn");
  ASSERT_NE(conn, nullptr);
  EXPECT_TRUE(conn->NonVisual());
  EXPECT_FALSE(conn->Widget()->isVisibleTo(result.Form->Window()));
}

TEST(Reader, ErrorsAreSkippedAndReadingGoesOn) {
  auto result = ReadForm(R"(object F: TForm
  object B: TButton
    Colour = clRed
    Visible = 'no'
    Left = 33
    OnClick = NoSuchMethod
    Caption = 'Still here'
  end
  object After: TEdit
    Text = 'after'
  end
end
)");
  ASSERT_EQ(result.Errors.size(), 2u);
  EXPECT_EQ(result.Errors[0], "Error reading B.Colour: Property Colour does not exist");
  EXPECT_EQ(result.Errors[1], "Error reading B.Visible: Invalid property value");
  EXPECT_EQ(Find(*result.Form, "B")->Left(), 33);
  EXPECT_EQ(Find(*result.Form, "B")->Caption(), u"Still here");
  EXPECT_EQ(Find(*result.Form, "After")->DisplayText(), u"after");
}

TEST(Reader, DamagedDataStopsReadingButKeepsWhatWasRead) {
  TMemoryStream input(
      "object F: TForm\n object A: TButton\n  Caption = 'first'\n end\n object B: TButton\n "
      " Caption = 'second'\n end\nend\n"),
      binary;
  ObjectTextToBinary(input, binary);
  for (std::size_t cut = 4; cut < binary.Size(); cut += 3) {
    TMemoryStream damaged(binary.Data().substr(0, cut));
    TForm form;
    TFormReader reader(damaged);
    std::vector<std::string> errors;
    TReaderHandlers handlers;
    handlers.OnError = [&](const std::string& Message, bool& Handled) {
      errors.push_back(Message);
      Handled = true;
    };
    EXPECT_NO_THROW(ReadRootComponent(reader, form, handlers)) << cut;
    EXPECT_EQ(errors.size(), 1u) << cut;
  }
  // Without a handler that takes it, the error reaches the caller.
  TMemoryStream damaged(binary.Data().substr(0, 20));
  TForm form;
  TFormReader reader(damaged);
  EXPECT_THROW(ReadRootComponent(reader, form, {}), EReadError);
}

TEST(Reader, EveryGeneratedFormReadsWithoutAnEscapingException) {
  for (std::uint64_t seed = 1; seed <= 40; ++seed) {
    vaq::testing::FormOptions options;
    options.Seed = seed;
    options.TargetBytes = 3000;
    auto generated = vaq::testing::GenerateForm(options);
    for (std::size_t cut : {generated.Binary.size(), generated.Binary.size() / 2}) {
      TMemoryStream stream(generated.Binary.substr(0, cut));
      auto form = std::make_unique<TForm>();
      TFormReader reader(stream);
      TReaderHandlers handlers;
      handlers.OnError = [](const std::string&, bool& Handled) { Handled = true; };
      handlers.OnFindMethod = [](const std::string&, bool& Error) { Error = false; };
      EXPECT_NO_THROW(ReadRootComponent(reader, *form, handlers)) << seed;
      EXPECT_NO_THROW(RenderForm(*form)) << seed;
    }
  }
}

// Texts of the form language's code page show as Unicode and read back as the same 8-bit text.
TEST(CodePages, RussianGreekAndJapaneseTextsShowAsUnicode) {
  const std::string russian = "\xD4\xE0\xE9\xEB";                   // "Файл" in 1251
  const std::string greek1 = "\xC1\xF1\xF7\xE5\xDF\xEF";            // "Αρχείο" in 1253
  const std::string greek2 = "\xCD\xDD\xEF";                        // "Νέο" in 1253
  const std::string japanese = "\x83\x74\x83\x40\x83\x43\x83\x8B";  // "ファイル" in 932
  auto ru = ReadForm("object F: TForm\n Caption = '" + russian + "'\n object B: TButton\n  Caption = '" +
                         russian + "'\n end\nend\n",
                     TClassGroup::Native, kRussian);
  EXPECT_EQ(ru.Form->Window()->windowTitle().toStdU16String(), u"Файл");
  auto* button = Find(*ru.Form, "B");
  EXPECT_EQ(static_cast<QPushButton*>(button->Widget())->text().toStdU16String(), u"Файл");
  EXPECT_EQ(button->Caption8(), russian);
  EXPECT_EQ(button->TextLocale(), kRussian);

  auto el = ReadForm("object F: TForm\n object C: TComboBox\n  Items.Strings = (\n   '" + greek1 + "'\n   '" +
                         greek2 + "')\n end\nend\n",
                     TClassGroup::Native, kGreek);
  auto* combo = Find(*el.Form, "C");
  EXPECT_EQ(static_cast<QComboBox*>(combo->Widget())->itemText(0).toStdU16String(), u"Αρχείο");
  EXPECT_EQ(dynamic_cast<TItemsControl&>(*combo).WidgetItems8(kGreek),
            (std::vector<std::string>{greek1, greek2}));

  auto ja = ReadForm("object F: TForm\n object L: TLabel\n  Caption = '" + japanese +
                         "'\n end\n object W: TLabel\n  "
                         "Caption = #12501#12449#12452#12523\n end\nend\n",
                     TClassGroup::Native, kJapanese);
  EXPECT_EQ(Find(*ja.Form, "L")->Caption(), u"ファイル");
  // Wide strings show as they are, and read back in the language's code page.
  EXPECT_EQ(Find(*ja.Form, "W")->Caption(), u"ファイル");
  EXPECT_EQ(Find(*ja.Form, "W")->Caption8(), japanese);
}

TEST(ClassGroups, ANameResolvesInTheActiveGroup) {
  TClassGroup previous = ActivateClassGroup(TClassGroup::QtBased);
  EXPECT_EQ(ActivateClassGroup(TClassGroup::Native), TClassGroup::QtBased);
  const TClassInfo* native = FindClass("TButton");
  EXPECT_EQ(FindClass("TLCDNumber"), nullptr);
  ActivateClassGroup(TClassGroup::QtBased);
  EXPECT_NE(FindClass("TButton"), native);
  EXPECT_NE(FindClass("TLCDNumber"), nullptr);
  auto qt =
      ReadForm("object F: TForm\n object N: TLCDNumber\n  Value = '42'\n end\nend\n", TClassGroup::QtBased);
  EXPECT_EQ(Find(*qt.Form, "N")->DisplayText(), u"42");
  ActivateClassGroup(previous);
}

// A hook that records the events it sees and consumes the mouse presses.
class RecordingHook : public IDesignerHook {
 public:
  bool IsDesignMsg(TControl* Sender, QEvent* Event) override {
    Seen.emplace_back(Sender->Name(), Event->type());
    return Event->type() == QEvent::MouseButtonPress || Event->type() == QEvent::Close;
  }
  std::vector<std::pair<std::string, QEvent::Type>> Seen;
};

TEST(DesignerHook, SeesTheEventsOfDesigningControlsFirst) {
  auto result = ReadForm(kDialog);
  TForm& form = *result.Form;
  auto owned = std::make_unique<RecordingHook>();
  RecordingHook* hook = owned.get();
  form.SetDesigner(std::move(owned));
  int closes = 0;
  form.OnClose = [&](TComponent*) { ++closes; };
  form.Window()->setAttribute(Qt::WA_DontShowOnScreen);
  form.Window()->show();
  auto* ok = static_cast<QPushButton*>(Find(form, "btnOK")->Widget());
  QSignalSpy clicks(ok, &QPushButton::clicked);

  // Not designing: the control acts, the hook sees nothing.
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
  EXPECT_TRUE(hook->Seen.empty());

  form.SetDesigning(true);
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
  ASSERT_FALSE(hook->Seen.empty());
  EXPECT_EQ(hook->Seen.front(), (std::pair<std::string, QEvent::Type>("btnOK", QEvent::MouseButtonPress)));
  QTest::keyClick(ok, Qt::Key_Space);
  EXPECT_EQ(hook->Seen.back().first, "btnOK");

  // A consumed close leaves the window open and reports nothing.
  form.Window()->close();
  EXPECT_TRUE(form.Window()->isVisible());
  EXPECT_EQ(closes, 0);
  form.SetDesigning(false);
  form.Window()->close();
  EXPECT_FALSE(form.Window()->isVisible());
  EXPECT_EQ(closes, 1);
}

TEST(Graphics, PicturesDecodeWithQtsImageReaders) {
  // A 1 x 1 bitmap behind a class name, as "Picture.Data" holds it.
  std::string bmp("BM\x1E\0\0\0\0\0\0\0\x1A\0\0\0\x0C\0\0\0\x01\0\x01\0\x01\0\x18\0\0\0\xFF\0", 30);
  std::string data = std::string("\x07TBitmap") + std::string("\x1E\0\0\0", 4) + bmp;
  QImage image = DecodeGraphic(data, true);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(1, 1));
  EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(0xFF, 0, 0));
  EXPECT_TRUE(DecodeGraphic("\x07TBitmap garbage", true).isNull());
}

}  // namespace
}  // namespace vaq::widgets
