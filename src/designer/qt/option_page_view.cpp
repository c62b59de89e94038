#include "designer/qt/option_page_view.h"

#include <algorithm>
#include <map>
#include <string>

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>

#include "core/views/options_dialog.h"
#include "host/core/options.h"

namespace rux {
namespace {

QString Text(std::string_view Value) {
  return QString::fromUtf8(Value.data(), static_cast<int>(Value.size()));
}

int OptionIndex(std::string_view Field) {
  return vaq::VaqINTOptionProps.Entry(Field).Index;
}

}  // namespace

TfrmVaqFormDesignerOptionPage::TfrmVaqFormDesignerOptionPage(QWidget* Parent,
                                                             std::function<void()> UpdateDesigner)
    : QWidget(Parent), Logic_(std::move(UpdateDesigner)) {
  using K = TOptionPageControlKind;
  std::map<std::string_view, QWidget*> widgets;
  // Where the children of a control go: the tab sheet's own widget, else the control.
  std::map<std::string_view, QWidget*> containers;
  QTabWidget* tabs = nullptr;
  for (const TOptionPageControl& c : FormDesignerOptionPageLayout()) {
    QWidget* parent = c.Parent.empty() ? nullptr : containers[c.Parent];
    QWidget* widget = nullptr;
    switch (c.Kind) {
      case K::Form:
        widget = this;
        setWindowTitle(Text(c.Caption));
        break;
      case K::PageControl:
        widget = tabs = new QTabWidget(parent);
        break;
      case K::TabSheet:
        widget = new QWidget();
        widget->setProperty("helpContext", c.HelpContext);
        if (tabs) tabs->addTab(widget, Text(c.Caption));
        break;
      case K::GroupBox:
        widget = new QGroupBox(Text(c.Caption), parent);
        break;
      case K::PropCheckBox:
        widget = new vaq::views::TPropCheckBox(Text(c.Caption), OptionIndex(c.PropertyField), parent);
        break;
      case K::Label:
        widget = new QLabel(Text(c.Caption), parent);
        break;
      case K::PropEdit:
        widget = new vaq::views::TPropEdit(OptionIndex(c.PropertyField), parent);
        break;
    }
    widget->setObjectName(Text(c.Name));
    if (c.Kind != K::Form && c.Kind != K::TabSheet)
      widget->setGeometry(c.Bounds.Left, c.Bounds.Top, c.Bounds.Width(), c.Bounds.Height());
    if (c.Kind == K::Label) {
      // A caption wider than its place in the page's font grows to the left, toward the check
      // boxes, and stays next to its edit.
      const QSize hint = widget->sizeHint();
      const int width = std::max(c.Bounds.Width(), hint.width());
      widget->setGeometry(c.Bounds.Right - width, c.Bounds.Top, width,
                          std::max(c.Bounds.Height(), hint.height()));
      static_cast<QLabel*>(widget)->setAlignment(Qt::AlignRight | Qt::AlignTop);
    }
    widgets[c.Name] = containers[c.Name] = widget;
  }
  // Accelerators of the labels focus their edits; Tab runs through the group in its tab order.
  std::vector<const TOptionPageControl*> ordered;
  for (const TOptionPageControl& c : FormDesignerOptionPageLayout()) {
    if (!c.FocusControl.empty()) static_cast<QLabel*>(widgets[c.Name])->setBuddy(widgets[c.FocusControl]);
    if (c.Kind == K::PropCheckBox || c.Kind == K::PropEdit) ordered.push_back(&c);
  }
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](auto* a, auto* b) { return a->TabOrder < b->TabOrder; });
  for (size_t i = 1; i < ordered.size(); ++i)
    QWidget::setTabOrder(widgets[ordered[i - 1]->Name], widgets[ordered[i]->Name]);
  setMinimumSize(tabs ? tabs->size() : QSize());

  // The dialog's result decides, when the page goes, whether the designer takes the values.
  if (auto* dialog = qobject_cast<QDialog*>(Parent ? Parent->window() : nullptr)) {
    QObject::connect(dialog, &QDialog::finished, this,
                     [this](int Result) { Logic_.SetModalResult(Result == QDialog::Accepted ? mrOk : 2); });
  }
}

TfrmVaqFormDesignerOptionPage::~TfrmVaqFormDesignerOptionPage() {
  Logic_.FormDestroy();
}

void RegisterDesignerOptionPage(std::function<void()> UpdateDesigner) {
  vaq::views::RegisterVaqOptionPage({kDesignerOptionPageName, [UpdateDesigner](QWidget* Parent) -> QWidget* {
                                       return new TfrmVaqFormDesignerOptionPage(Parent, UpdateDesigner);
                                     }});
}

void UnregisterDesignerOptionPage() {
  vaq::views::UnregisterVaqOptionPage(kDesignerOptionPageName);
}

}  // namespace rux
