// The core's options dialog: a list of option pages, each a widget made by a registered factory,
// and controls bound to entries of the option set VaqINTOptionProps. A bound control shows the
// entry's value when its page is made and writes it back when the dialog is accepted. Modules (the
// layout designer, the form editor) register their pages at start-up and remove them at shut-down.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <functional>
#include <string>
#include <vector>

namespace vaq::views {

// A control bound to an option entry.
class TPropControl {
 public:
  explicit TPropControl(int OptionIndex) : optionIndex_(OptionIndex) {}
  virtual ~TPropControl() = default;
  int OptionIndex() const { return optionIndex_; }
  // Reads the entry into the control / writes the control's value to the entry.
  virtual void Load() = 0;
  virtual void Apply() = 0;

 private:
  int optionIndex_;
};

// A check box bound to a Boolean entry.
class TPropCheckBox : public QCheckBox, public TPropControl {
 public:
  TPropCheckBox(const QString& Caption, int OptionIndex, QWidget* Parent = nullptr);
  void Load() override;
  void Apply() override;
};

// An edit box bound to an integer or text entry; an integer entry takes only numbers.
class TPropEdit : public QLineEdit, public TPropControl {
 public:
  TPropEdit(int OptionIndex, QWidget* Parent = nullptr);
  void Load() override;
  void Apply() override;
};

// A drop-down bound to an integer entry: item i stands for the value i.
class TPropComboBox : public QComboBox, public TPropControl {
 public:
  TPropComboBox(const QStringList& Items, int OptionIndex, QWidget* Parent = nullptr);
  void Load() override;
  void Apply() override;
};

// One option page: its caption in the page list and the factory of its widget.
struct TVaqOptionPage {
  std::string Name;
  std::function<QWidget*(QWidget* Parent)> Create;
};
// Registers a page (a page of the same name is replaced); pages are listed in registration order.
void RegisterVaqOptionPage(TVaqOptionPage Page);
void UnregisterVaqOptionPage(const std::string& Name);
const std::vector<TVaqOptionPage>& VaqOptionPages();

class TOptionsDialog : public QDialog {
 public:
  explicit TOptionsDialog(QWidget* Parent = nullptr);
  // Writes every bound control of every page; errors are shown and stop nothing else.
  void ApplyAll();
  // The bound controls of the pages, for tests.
  std::vector<TPropControl*> Controls() const;
  QWidget* Page(const std::string& Name) const;

 private:
  std::vector<std::pair<std::string, QWidget*>> pages_;
};

}  // namespace vaq::views
