// The editor window base: what every file type's window shares.
#include "host/core/translator_form.h"

#include <vector>

namespace vaq {
namespace {

std::vector<TVaqShortcut>& Shortcuts() {
  static std::vector<TVaqShortcut> shortcuts;
  return shortcuts;
}

}  // namespace

void RegisterVaqShortcut(const TVaqShortcut& Shortcut) {
  Shortcuts().push_back(Shortcut);
}

TfrmVaqTranslatorForm::TfrmVaqTranslatorForm() = default;
TfrmVaqTranslatorForm::~TfrmVaqTranslatorForm() = default;

void TfrmVaqTranslatorForm::LoadFromFile(const std::string& FileName) {
  CurrentFileName = FileName;
  LoadFile(FileName);
  Dirty = false;
}

void TfrmVaqTranslatorForm::FormCreate() {}
void TfrmVaqTranslatorForm::FormHide() {}

void TfrmVaqTranslatorForm::EditFile(const std::string& FileName) {
  LoadFromFile(FileName);
}

void TfrmVaqTranslatorForm::ChangeSize() {}
void TfrmVaqTranslatorForm::Idle() {}

}  // namespace vaq
