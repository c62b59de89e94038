// The core's options dialog and its page registry.
#include "core/views/options_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QListWidget>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "host/core/errors.h"
#include "host/core/options.h"

namespace vaq::views {
namespace {

std::vector<TVaqOptionPage>& Pages() {
  static std::vector<TVaqOptionPage> pages;
  return pages;
}

// The core's own page: options of editing and updating.
QWidget* CreateGeneralPage(QWidget* parent) {
  auto* page = new QWidget(parent);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(new TPropCheckBox(QStringLiteral("Refresh the translated preview without asking to save"),
                                      kOptRefreshWithoutAsking, page));
  layout->addWidget(
      new TPropCheckBox(QStringLiteral("Take new values from the translation repository on update"),
                        kOptUseRepositoryOnUpdate, page));
  layout->addWidget(new TPropCheckBox(QStringLiteral("Add translations to the repository on save"),
                                      kOptAddToRepositoryOnSave, page));
  auto* form = new QFormLayout();
  form->addRow(QStringLiteral("Lines between components:"),
               new TPropComboBox({QStringLiteral("None"), QStringLiteral("Above each group"),
                                  QStringLiteral("Below each group")},
                                 kOptDelimiterStyle, page));
  layout->addLayout(form);
  layout->addStretch();
  return page;
}

}  // namespace

TPropCheckBox::TPropCheckBox(const QString& Caption, int OptionIndex, QWidget* Parent)
    : QCheckBox(Caption, Parent), TPropControl(OptionIndex) {
  setObjectName(QStringLiteral("pcb%1").arg(OptionIndex));
  Load();
}
void TPropCheckBox::Load() {
  setChecked(VaqINTOptionProps.GetBool(OptionIndex()));
}
void TPropCheckBox::Apply() {
  VaqINTOptionProps.Set(OptionIndex(), TOptionValue(isChecked()));
}

TPropEdit::TPropEdit(int OptionIndex, QWidget* Parent) : QLineEdit(Parent), TPropControl(OptionIndex) {
  setObjectName(QStringLiteral("eb%1").arg(OptionIndex));
  if (VaqINTOptionProps.Entry(OptionIndex).Kind == TOptionKind::Integer)
    setValidator(new QIntValidator(this));
  Load();
}
void TPropEdit::Load() {
  setText(QString::fromStdString(OptionValueToStr(VaqINTOptionProps.Get(OptionIndex()))));
}
void TPropEdit::Apply() {
  const TOptionEntry& entry = VaqINTOptionProps.Entry(OptionIndex());
  if (entry.Kind == TOptionKind::Integer) {
    bool ok = false;
    const qlonglong value = text().toLongLong(&ok);
    if (!ok)
      throw EVaqError("Option " + std::string(entry.Name) + " takes an integer, not \"" +
                      text().toStdString() + "\"");
    VaqINTOptionProps.Set(OptionIndex(), TOptionValue(static_cast<std::int64_t>(value)));
  } else {
    VaqINTOptionProps.Set(OptionIndex(), TOptionValue(text().toStdString()));
  }
}

TPropComboBox::TPropComboBox(const QStringList& Items, int OptionIndex, QWidget* Parent)
    : QComboBox(Parent), TPropControl(OptionIndex) {
  setObjectName(QStringLiteral("cb%1").arg(OptionIndex));
  addItems(Items);
  Load();
}
void TPropComboBox::Load() {
  setCurrentIndex(static_cast<int>(VaqINTOptionProps.GetInteger(OptionIndex())));
}
void TPropComboBox::Apply() {
  VaqINTOptionProps.Set(OptionIndex(), TOptionValue(static_cast<std::int64_t>(currentIndex())));
}

void RegisterVaqOptionPage(TVaqOptionPage Page) {
  for (auto& page : Pages()) {
    if (page.Name == Page.Name) {
      page = std::move(Page);
      return;
    }
  }
  Pages().push_back(std::move(Page));
}

void UnregisterVaqOptionPage(const std::string& Name) {
  std::erase_if(Pages(), [&](const TVaqOptionPage& page) { return page.Name == Name; });
}

const std::vector<TVaqOptionPage>& VaqOptionPages() {
  return Pages();
}

TOptionsDialog::TOptionsDialog(QWidget* Parent) : QDialog(Parent) {
  setWindowTitle(QStringLiteral("Options"));
  setObjectName(QStringLiteral("frmOptions"));
  auto* list = new QListWidget(this);
  list->setObjectName(QStringLiteral("lstPages"));
  list->setMaximumWidth(150);
  auto* stack = new QStackedWidget(this);
  pages_.emplace_back("General", CreateGeneralPage(stack));
  for (const TVaqOptionPage& page : Pages()) pages_.emplace_back(page.Name, page.Create(stack));
  for (const auto& [name, widget] : pages_) {
    list->addItem(QString::fromStdString(name));
    stack->addWidget(widget);
  }
  connect(list, &QListWidget::currentRowChanged, stack, &QStackedWidget::setCurrentIndex);
  list->setCurrentRow(0);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    ApplyAll();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* row = new QHBoxLayout();
  row->addWidget(list);
  row->addWidget(stack, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  resize(560, 340);
}

std::vector<TPropControl*> TOptionsDialog::Controls() const {
  std::vector<TPropControl*> controls;
  for (const auto& [name, widget] : pages_) {
    for (QWidget* child : widget->findChildren<QWidget*>()) {
      if (auto* control = dynamic_cast<TPropControl*>(child)) controls.push_back(control);
    }
  }
  return controls;
}

QWidget* TOptionsDialog::Page(const std::string& Name) const {
  for (const auto& [name, widget] : pages_) {
    if (name == Name) return widget;
  }
  return nullptr;
}

void TOptionsDialog::ApplyAll() {
  for (TPropControl* control : Controls()) {
    try {
      control->Apply();
    } catch (const EVaqError& error) {
      ShowError(error.what());
    }
  }
}

}  // namespace vaq::views
