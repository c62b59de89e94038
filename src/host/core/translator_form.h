// The core's editor window: the translation grid of one notes file and its generic editing logic.
// A file type derives its window from it and overrides, in slot order: GridToMgr, LoadFile, Save,
// GetCurrID, ValidateText, GetColInfo, LoadFromFile (the base is used), FormatDirective.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/core/object.h"
#include "host/core/registration.h"
#include "host/core/translator_mgr.h"
#include "host/core/types.h"

namespace vaq {

// A keyboard shortcut of an editor action, registered with the core.
struct TVaqShortcut {
  std::string ActionName;
  int KeyEventKind = 0;
  std::uint32_t ShortCut = 0;
};
void RegisterVaqShortcut(const TVaqShortcut& Shortcut);

// Creates the file type's manager for a form file (loads its notes).
using TMgrClass = std::function<std::unique_ptr<TVaqTranslatorMgr>(const std::string& FileName)>;

class TfrmVaqTranslatorForm {
 public:
  TfrmVaqTranslatorForm();
  virtual ~TfrmVaqTranslatorForm();
  TfrmVaqTranslatorForm(const TfrmVaqTranslatorForm&) = delete;
  TfrmVaqTranslatorForm& operator=(const TfrmVaqTranslatorForm&) = delete;

  virtual void GridToMgr() = 0;
  virtual void LoadFile(const std::string& FileName) = 0;
  virtual void Save() = 0;
  virtual std::string GetCurrID() = 0;
  virtual bool ValidateText(int Column, int Row) = 0;
  virtual TColInfo GetColInfo(TVaqAllColId Id) const = 0;
  virtual void LoadFromFile(const std::string& FileName);
  virtual std::string FormatDirective(const std::string& FileName, const TObject* FormInfo) = 0;

  virtual void FormCreate();
  virtual void FormHide();
  void EditFile(const std::string& FileName);
  void ChangeSize();
  void Idle();
  bool IsDirty() const { return Dirty; }

  std::array<TVaqAllColId, 10> ColIds{};
  std::string RegSubKey;
  std::string FileExts;
  TMgrClass MgrClass;
  std::vector<TVaqShortcut> Shortcuts;
  TVaqFileType* FileType = nullptr;  // borrowed: the core's registry owns it
  std::unique_ptr<TVaqTranslatorMgr> Mgr;
  TFileStats FileStats;
  std::string CurrentFileName;

 protected:
  bool Dirty = false;
};

}  // namespace vaq
