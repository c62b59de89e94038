// Resource-module projects: the core generates a library project per language that binds the
// translated forms, asking each file type for its directive lines.
#pragma once

#include <functional>
#include <string>

#include "host/core/object.h"
#include "host/core/types.h"

namespace vaq {

// The project and the language a resource-module project is made for.
struct TProj {
  std::string FileName;  // the project file
  std::string Dir;       // its folder
};
struct TLang {
  TLCID Locale = 0;
  std::string Dir;  // the language folder
};

// Prepares the form list of a new resource-module project (form files in; translated names out).
using TProjectCreateProc =
    std::function<void(TStringObjectList& FormFiles, const TProj& Project, TLang& Lang)>;
void RegisterPelgoProjectCreate(TProjectCreateProc Proc);
void RegisterCPPProjectCreate(TProjectCreateProc Proc);

// Write the resource-module project into the language folder and return its file name.
std::string CreatePascalDLL(const TProj& Project, const TLang& Lang, const TStringObjectList& FormFiles,
                            bool Flag1, bool Flag2);
std::string CreateCPPDLL(const TProj& Project, const TLang& Lang, const TStringObjectList& FormFiles,
                         bool Flag);
// The translated file name of a project file under a language folder.
std::string GetXlatFileName(const std::string& FileName, const std::string& LangDir,
                            const std::string& ProjectDir);

// Answers the built program of a project (the IDE's part); empty when unknown.
extern std::function<std::string(const std::string& ProjectFile)> FindExeNameProc;
// The folder of the IDE's libraries.
extern std::string LibDir;

}  // namespace vaq
