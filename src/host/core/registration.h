// File types: a module registers one record per file type with the handlers the core calls.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/language_update.h"
#include "host/core/object.h"
#include "host/core/search.h"
#include "host/core/types.h"

namespace vaq {

class TfrmVaqTranslatorForm;
class TIToolServices;

// Batch events over a selection of files.
enum class TListEvent { None = 0, Purge = 1, PseudoTranslate = 2, Dictionary = 3 };

// Handed with the dictionary event.
struct TSaveFileData {
  std::string FileName;  // the dictionary file
  void* Data = nullptr;  // the caller's data
};

// Called before a form is extracted (file name, callback argument).
using TUpdateCallback = std::function<void(const std::string& FileName, std::intptr_t Arg)>;
// Asked before each file of a list event; false stops the run.
using TListEventCallback = std::function<bool(const std::string& FileName, void* Data)>;

using TGetStatsFunc = std::function<void(const std::string& FileName, bool CheckDates, TFileStats& Stats)>;
using TFileMethod = std::function<void(const std::string& FileName)>;
using TNotifyMethod = std::function<void()>;
using TUpdateFormsMethod = std::function<void(
    TStringObjectList* Forms, TStats& Stats, const std::string& ProjectFile, const std::string& BaseDir,
    const std::string& LangDir, const std::string& Mode, const std::string& FileName, TLCID SourceLocale,
    TLCID TargetLocale, TIToolServices* Tools, std::intptr_t CallbackArg, TUpdateCallback Callback)>;
using TSearchFileFunc =
    std::function<void(const TSearchInfo& Info, const std::string& Text, bool CaseSensitive, bool WholeWord,
                       bool IgnoreAccelerators, TSearchFoundEvent OnFound)>;
using TXlatFormNameMethod = std::function<std::string(const std::string& FormFile, const std::string& LangDir,
                                                      const std::string& BaseDir, const TObject* FormInfo)>;
using TFormatDirectiveMethod =
    std::function<std::string(const std::string& FileName, const TObject* FormInfo)>;
using TCountMethod = std::function<int()>;
using TListEventFunc = std::function<void(TListEvent Event, const std::vector<std::string>& Files, void* Data,
                                          TListEventCallback Callback)>;
using TEditorFactory = std::function<std::unique_ptr<TfrmVaqTranslatorForm>()>;

// One registered file type: its names and its 20 handlers, in the order the constructor takes them.
struct TVaqFileType {
  std::string TypeName;                     // 1
  std::string Extensions;                   // 2 ".rux;.gox"
  std::string Description;                  // 3
  TfrmVaqTranslatorForm* Editor = nullptr;  // 4 borrowed: the module owns its window
  std::string FileBitmap;                   // 5 bitmap resource names
  std::string KindBitmap;                   // 6
  TGetStatsFunc GetStats;                   // 7
  TFileMethod LoadFromFile;                 // 8
  TFileMethod EditFile;                     // 9
  TUpdateFormsMethod UpdateForms;           // 10
  TNotifyMethod ChangeSize;                 // 11
  TEditorFactory EditorClass;               // 12
  std::vector<TColInfo> ColInfo;            // 13 rows 0..14
  TSearchFileFunc SearchFile;               // 14
  TXlatFormNameMethod GetXlatFormName;      // 15
  TNotifyMethod Idle;                       // 16
  TFormatDirectiveMethod FormatDirective;   // 17
  TCountMethod TranslatorCount;             // 18
  TFileMethod UpdateFile;                   // 19
  TListEventFunc DoListEvent;               // 20
  // The notes extension of each of Extensions, in the same order (".ruz;.goz"), so that a host
  // finds a form's notes file and a notes file's form without the module's code.
  std::string NoteExtensions;
  // The project update of several languages at once (language_update.h); may be empty.
  TUpdateLanguagesMethod UpdateLanguages;
};

// Registers a file type; the core keeps it until UnregisterVaqFileTypes.
void RegisterVaqFileType(std::unique_ptr<TVaqFileType> FileType);
void UnregisterVaqFileTypes();
// Removes one file type, when a module that registered it unloads.
void UnregisterVaqFileType(const TVaqFileType* FileType);

// The registered file types, found by extension.
class TVaqFileTypes {
 public:
  // Index of the file type that lists `Ext` (case-insensitive, with its dot); -1 when none does.
  int ExtIndexOf(std::string_view Ext) const;
  int Count() const;
};
extern TVaqFileTypes VaqFileTypes;
TVaqFileType* GetVaqFileType(int i);

}  // namespace vaq
