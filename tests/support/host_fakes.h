// Stand-ins for what the IDE and the window's message boxes give the module, shared by the tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/core/translator_form.h"
#include "host/framework/ide.h"

namespace vaq::testing {

// The project's units as the IDE's tool services list them.
class TUnitList : public TIToolServices {
 public:
  explicit TUnitList(std::vector<std::string> Units) : units_(std::move(Units)) {}
  int GetUnitCount() override { return static_cast<int>(units_.size()); }
  std::string GetUnitName(int i) override { return units_.at(static_cast<std::size_t>(i)); }

 private:
  std::vector<std::string> units_;
};

// Message boxes that answer from a script and keep every message.
class TScriptedMessageBoxes : public IVaqMessageBoxes {
 public:
  TModalResult MessageDlg(const std::string& Text, TMsgDlgType, TMsgDlgButtons, TModalResult) override {
    Messages.push_back(Text);
    return Answer;
  }
  // Answers with the next of `Inputs` (Cancel when they are used up), or with `Input` when none
  // are scripted; keeps each prompt and the text the dialog was opened with.
  bool InputQuery(const std::string&, const std::string& Prompt, std::string& Value) override {
    Prompts.push_back(Prompt);
    Offered.push_back(Value);
    if (Inputs.empty()) {
      if (Scripted) return false;
      Value = Input;
      return true;
    }
    Scripted = true;
    Value = Inputs.front();
    Inputs.erase(Inputs.begin());
    return true;
  }
  std::vector<std::string> Messages;
  TModalResult Answer = TModalResult::No;
  std::string Input;
  std::vector<std::string> Inputs;
  std::vector<std::string> Prompts;
  std::vector<std::string> Offered;

 private:
  bool Scripted = false;
};

}  // namespace vaq::testing
