// Exceptions the core raises, and the one channel for user-visible failures outside the editor.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vaq {

// Base of every exception the core and the module raise; the message is meant for the user.
class EVaqError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A text that is not a valid number, date or Boolean.
class EConvertError : public EVaqError {
 public:
  using EVaqError::EVaqError;
};

// A file that cannot be opened, read, written or replaced.
class EFileError : public EVaqError {
 public:
  using EVaqError::EVaqError;
};

// Where ShowError sends its texts: standard error in the command-line host, a list in tests,
// a message box in the editor.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Error(std::string_view text) = 0;
  // An information for the user (a message box in the editor).
  virtual void Information(std::string_view text) = 0;
  // Something the user should know that did not stop the work (by default an information).
  virtual void Warning(std::string_view text) { Information(text); }
};

// Writes errors as lines to standard error, information to standard output.
class StderrSink : public MessageSink {
 public:
  void Error(std::string_view text) override;
  void Information(std::string_view text) override;
  // Warnings go to standard error, like errors.
  void Warning(std::string_view text) override;
};

// Keeps every message; tests read them back.
class CollectingSink : public MessageSink {
 public:
  void Error(std::string_view text) override { Messages.emplace_back(text); }
  void Information(std::string_view text) override { Informations.emplace_back(text); }
  void Warning(std::string_view text) override { Warnings.emplace_back(text); }
  std::vector<std::string> Messages;
  std::vector<std::string> Informations;
  std::vector<std::string> Warnings;
};

// Shows an error to the user and returns.
void ShowError(std::string_view text);
// Shows an information to the user and returns.
void ShowMessage(std::string_view text);
// Shows a warning (work went on) and returns.
void ShowWarning(std::string_view text);

// Replaces the sink and returns the previous one. The default sink writes to standard error.
std::unique_ptr<MessageSink> SetMessageSink(std::unique_ptr<MessageSink> sink);

// Installs a sink for the lifetime of the guard and puts the previous one back afterwards.
class ScopedMessageSink {
 public:
  explicit ScopedMessageSink(std::unique_ptr<MessageSink> sink)
      : previous_(SetMessageSink(std::move(sink))) {}
  ~ScopedMessageSink() { SetMessageSink(std::move(previous_)); }
  ScopedMessageSink(const ScopedMessageSink&) = delete;
  ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

 private:
  std::unique_ptr<MessageSink> previous_;
};

}  // namespace vaq
