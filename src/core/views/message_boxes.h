// Message boxes of the desktop windows: the window logic's questions and inputs as Qt dialogs, and
// a message sink that shows ShowError as a message box while a window is up.
#pragma once

#include <QWidget>

#include "host/core/errors.h"
#include "host/core/translator_form.h"

namespace vaq::views {

class TQtMessageBoxes : public IVaqMessageBoxes {
 public:
  explicit TQtMessageBoxes(QWidget* Parent) : parent_(Parent) {}
  TModalResult MessageDlg(const std::string& Text, TMsgDlgType Type, TMsgDlgButtons Buttons,
                          TModalResult Default) override;
  bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value) override;

 private:
  QWidget* parent_;  // borrowed
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
