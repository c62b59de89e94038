// Resource-module projects: the core generates a library project per language that binds the
// translated forms, asking each file type for its directive lines.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "host/core/object.h"
#include "host/core/types.h"

namespace vaq {

// The project and the language a resource-module project is made for.
struct TProj {
  std::string FileName;  // the project file
  std::string Dir;       // its folder
  // The module's identifier in its source (the Pascal library's name); empty: made from the
  // project's name by ModuleIdentifier.
  std::string Identifier;
};
struct TLang {
  TLCID Locale = 0;
  std::string Dir;  // the language folder
};

// Prepares the form list of a new resource-module project (form files in; translated names out).
using TProjectCreateProc =
    std::function<void(TStringObjectList& FormFiles, const TProj& Project, TLang& Lang)>;
// One callback for each project language; registering again replaces it.
void RegisterPelgoProjectCreate(TProjectCreateProc Proc);
void RegisterCPPProjectCreate(TProjectCreateProc Proc);
// The registered callbacks; empty when none is registered.
const TProjectCreateProc& PelgoProjectCreate();
const TProjectCreateProc& CPPProjectCreate();

// The identifier a resource-module project made from `Name` (the project's name) is known by in
// its source: ASCII letters, digits and "_", not starting with a digit. Letters of other scripts
// are transliterated to Latin ("Мой проект" -> "Moj_proekt"); every run of other characters
// becomes one "_" (none at either end); a leading digit gets a "_" before it, a reserved word of
// the language one after it ("end" -> "end_" for Pascal); "Project" when nothing is left.
std::string ModuleIdentifier(std::string_view Name, bool Pascal);
// Why `Identifier` cannot name a module in that language ("starts with a digit", "is a reserved
// word of Pascal", ...); empty when it can.
std::string IdentifierProblem(std::string_view Identifier, bool Pascal);

// Write the resource-module project into the language folder (created when missing) and return its
// file name: "<project name>.<ABBR>.pas" for Pascal and "<project name>.<ABBR>.cpp" for C++, ABBR
// being the language's three-letter abbreviation (its decimal locale id when it has none). Each
// entry of FormFiles is a translated form file with its form information; its directive lines come
// from the file type registered for its extension, given the file name relative to the language
// folder. The library (Pascal) or the module's comment (C++) names it by Project.Identifier, else
// by ModuleIdentifier of the project's name; the file name keeps the project's name. The
// generators set GlobalInPelgo to their language while they run. The flags are accepted for the
// callers' sake and have no effect yet. Raise EVaqError when Project.Identifier is no identifier
// of the language, EFileError when the file cannot be written.
std::string CreatePascalDLL(const TProj& Project, const TLang& Lang, const TStringObjectList& FormFiles,
                            bool Flag1, bool Flag2);
std::string CreateCPPDLL(const TProj& Project, const TLang& Lang, const TStringObjectList& FormFiles,
                         bool Flag);
// The translated file name of a project file under a language folder: a file below ProjectDir
// (a relative name counts as relative to it) keeps its path relative to ProjectDir; any other file
// keeps its file name only. Folder names are compared without regard to case.
std::string GetXlatFileName(const std::string& FileName, const std::string& LangDir,
                            const std::string& ProjectDir);

// Answers the built program of a project (the IDE's part); empty when unknown.
extern std::function<std::string(const std::string& ProjectFile)> FindExeNameProc;
// The folder of the IDE's libraries.
extern std::string LibDir;

}  // namespace vaq
