// The designer's page in the options dialog: its controls as laid out, and that only an accepted
// dialog changes the open preview's designer.
#include "designer/qt/option_page_view.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "core/views/options_dialog.h"
#include "designer/qt/designer_hook.h"
#include "support/temp_dir.h"
#include "widgets/read_form.h"

namespace rux {
namespace {

class DesignerOptionPageView : public ::testing::Test {
 protected:
  DesignerOptionPageView() {
    form_ = vaq::widgets::testing::ReadForm("object frmMain: TForm\nend\n").Form;
    AttachDesigner(*form_, "frmMain", kNativeDesignerPolicy);
    RegisterDesignerOptionPage([this] {
      ++updates_;
      UpdateDesignerOptions(FormDesignerOptions(form_.get()), vaq::VaqINTOptionProps);
    });
  }
  ~DesignerOptionPageView() override { UnregisterDesignerOptionPage(); }

  // Opens the dialog, lets `Edit` change the page, then presses OK or Cancel and closes it.
  template <class F>
  void RunDialog(F&& Edit, bool Accept) {
    auto dialog = std::make_unique<vaq::views::TOptionsDialog>();
    QWidget* page = dialog->Page(kDesignerOptionPageName);
    ASSERT_NE(page, nullptr);
    Edit(*page);
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    buttons->button(Accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(updates_, 0);  // the page hands the values on when it goes
  }

  vaq::testing::TempDir config_{vaq::testing::TempDir::kConfig};
  std::unique_ptr<vaq::widgets::TForm> form_;
  int updates_ = 0;
};

TEST_F(DesignerOptionPageView, ControlsSitWhereTheLayoutPutsThem) {
  RunDialog(
      [](QWidget& page) {
        auto* tabs = page.findChild<QTabWidget*>(QStringLiteral("PageControl"));
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(tabs->tabText(0), QStringLiteral("Form Designer"));
        auto* grid = page.findChild<QCheckBox*>(QStringLiteral("pcbDisplayGrid"));
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->text(), QStringLiteral("Display &grid"));
        EXPECT_EQ(grid->geometry(), QRect(8, 16, 185, 17));
        EXPECT_TRUE(grid->isChecked());
        auto* x = page.findChild<QLineEdit*>(QStringLiteral("ebGridSizeX"));
        EXPECT_EQ(x->geometry(), QRect(272, 16, 81, 21));
        EXPECT_EQ(x->text(), QStringLiteral("8"));
        EXPECT_EQ(page.findChild<QLabel*>(QStringLiteral("lbGridSizeY"))->buddy(),
                  page.findChild<QLineEdit*>(QStringLiteral("ebGridSizeY")));
        // Tab goes from the second check box to the first edit.
        QWidget* next = page.findChild<QCheckBox*>(QStringLiteral("pcbSnapToGrid"))->nextInFocusChain();
        while (next && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
        EXPECT_EQ(next, x);
        if (const QByteArray file = qgetenv("VAQ_OPTION_PAGE_PICTURE"); !file.isEmpty())
          page.grab().save(QString::fromLocal8Bit(file));
      },
      false);
}

TEST_F(DesignerOptionPageView, AcceptedDialogUpdatesTheDesigner) {
  RunDialog(
      [](QWidget& page) {
        page.findChild<QLineEdit*>(QStringLiteral("ebGridSizeX"))->setText(QStringLiteral("4"));
        page.findChild<QLineEdit*>(QStringLiteral("ebGridSizeY"))->setText(QStringLiteral("4"));
      },
      true);
  EXPECT_EQ(updates_, 1);
  EXPECT_EQ(FormDesignerOptions(form_.get())->GetGridSize(), TPoint({4, 4}));
  EXPECT_EQ(vaq::VaqINTOptionProps.GetInteger(vaq::kOptGridSizeX), 4);
}

TEST_F(DesignerOptionPageView, CancelledDialogLeavesTheDesigner) {
  RunDialog(
      [](QWidget& page) { page.findChild<QCheckBox*>(QStringLiteral("pcbDisplayGrid"))->setChecked(false); },
      false);
  EXPECT_EQ(updates_, 0);
  EXPECT_TRUE(FormDesignerOptions(form_.get())->GetDisplayGrid());
  EXPECT_TRUE(vaq::VaqINTOptionProps.GetBool(vaq::kOptDisplayGrid));
}

}  // namespace
}  // namespace rux
