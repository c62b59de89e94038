// Message boxes of the desktop windows.
#include "core/views/message_boxes.h"

#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

namespace vaq::views {

TModalResult TQtMessageBoxes::MessageDlg(const std::string& Text, TMsgDlgType Type, TMsgDlgButtons Buttons,
                                         TModalResult Default) {
  if (unattended_) {
    switch (Type) {
      case TMsgDlgType::Error:
        ShowError(Text);
        break;
      case TMsgDlgType::Confirmation:
        ShowWarning(Text + " (no one to answer: " + (Default == TModalResult::Yes ? "yes" : "no") + ")");
        break;
      default:
        ShowWarning(Text);
        break;
    }
    return Default;
  }
  QMessageBox box(parent_);
  box.setWindowTitle(QStringLiteral("vaq"));
  box.setText(QString::fromStdString(Text));
  switch (Type) {
    case TMsgDlgType::Error:
      box.setIcon(QMessageBox::Critical);
      break;
    case TMsgDlgType::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case TMsgDlgType::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case TMsgDlgType::Confirmation:
      box.setIcon(QMessageBox::Question);
      break;
  }
  const auto toButton = [](TModalResult r) {
    switch (r) {
      case TModalResult::Yes:
        return QMessageBox::Yes;
      case TModalResult::No:
        return QMessageBox::No;
      case TModalResult::Cancel:
        return QMessageBox::Cancel;
      default:
        return QMessageBox::Ok;
    }
  };
  switch (Buttons) {
    case TMsgDlgButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case TMsgDlgButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case TMsgDlgButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  box.setDefaultButton(toButton(Default));
  switch (box.exec()) {
    case QMessageBox::Yes:
      return TModalResult::Yes;
    case QMessageBox::No:
      return TModalResult::No;
    case QMessageBox::Cancel:
      return TModalResult::Cancel;
    case QMessageBox::Ok:
      return TModalResult::Ok;
    default:
      return Buttons == TMsgDlgButtons::Ok ? TModalResult::Ok : TModalResult::Cancel;
  }
}

bool TQtMessageBoxes::InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value) {
  if (unattended_) {
    ShowWarning(Caption + ": " + Prompt + " (no one to answer: cancelled)");
    return false;
  }
  QInputDialog dialog(parent_);
  dialog.setWindowTitle(QString::fromStdString(Caption));
  dialog.setOption(QInputDialog::UsePlainTextEditForTextInput);
  dialog.setLabelText(QString::fromStdString(Prompt));
  dialog.setTextValue(QString::fromStdString(Value));
  // A prompt that explains what to change wraps instead of widening the dialog.
  if (auto* label = dialog.findChild<QLabel*>()) label->setWordWrap(true);
  dialog.resize(480, dialog.sizeHint().height());
  if (dialog.exec() != QDialog::Accepted) return false;
  Value = dialog.textValue().toStdString();
  return true;
}

void TMessageBoxSink::Error(std::string_view text) {
  QMessageBox::critical(parent_, QStringLiteral("vaq"),
                        QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

void TMessageBoxSink::Information(std::string_view text) {
  QMessageBox::information(parent_, QStringLiteral("vaq"),
                           QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

}  // namespace vaq::views

namespace vaq::views {

void TCountingStderrSink::Error(std::string_view text) {
  ++problems_;
  StderrSink::Error(text);
}

void TCountingStderrSink::Warning(std::string_view text) {
  ++problems_;
  StderrSink::Warning(text);
}

void TCountingStderrSink::Information(std::string_view text) {
  // Standard output may hold what a command prints; what a window would have shown goes beside
  // the other messages.
  StderrSink::Warning(text);
}

}  // namespace vaq::views
