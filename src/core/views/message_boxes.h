// Message boxes of the desktop windows: the window logic's questions and inputs as Qt dialogs, and
// a message sink that shows ShowError as a message box while a window is up.
#pragma once

#include <QWidget>

#include "host/core/errors.h"
#include "host/core/translator_form.h"

namespace vaq::views {

// With no one to answer (no display, or a window that only renders a picture) nothing is shown:
// every message goes to ShowError or ShowWarning, questions take their default answer and inputs
// are cancelled, so that nothing waits for a click that never comes.
class TQtMessageBoxes : public IVaqMessageBoxes {
 public:
  explicit TQtMessageBoxes(QWidget* Parent) : parent_(Parent) {}
  TModalResult MessageDlg(const std::string& Text, TMsgDlgType Type, TMsgDlgButtons Buttons,
                          TModalResult Default) override;
  bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value) override;

  void SetUnattended(bool On) { unattended_ = On; }
  bool Unattended() const { return unattended_; }

 private:
  QWidget* parent_;  // borrowed
  bool unattended_ = false;
};

// Writes messages to standard error, as the command line does, and counts the errors and
// warnings: what a run that no one watches reports in its exit status.
class TCountingStderrSink : public StderrSink {
 public:
  void Error(std::string_view text) override;
  void Warning(std::string_view text) override;
  void Information(std::string_view text) override;
  int Problems() const { return problems_; }

 private:
  int problems_ = 0;
};

class TMessageBoxSink : public MessageSink {
 public:
  explicit TMessageBoxSink(QWidget* Parent) : parent_(Parent) {}
  void Error(std::string_view text) override;
  void Information(std::string_view text) override;

 private:
  QWidget* parent_;  // borrowed
};

}  // namespace vaq::views
