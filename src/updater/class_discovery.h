// What the updater must know of a form before it extracts it: its class and root component (from
// the form header), its ancestor and root base class (from its unit's source), whether a built
// program links it, and where its translated copy lives under a language folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "notes/form_info.h"

namespace rux {

// A dialog form that the framework's library links into programs: its form name (the class name
// without its leading "T"), the unit that holds it (without extension) and its ancestor class.
struct TLibraryForm {
  std::string_view FormName;
  std::string_view Unit;
  std::string_view Ancestor;
};
const std::vector<TLibraryForm>& LibraryForms();

// Fills FormClass and FormName from the header of a form file (text or binary notation). A file
// that is not a form leaves both as they are.
void ReadFormHeader(const std::string& FileName, TFormInfo& Info);

// The class of the form file, or empty when it is not a form.
std::string FormClassOf(const std::string& FileName);

// Whether a file name has the extension of a form file (".rux" or ".gox", in any letter case).
bool IsFormFileName(std::string_view FileName);

// The form file that a unit's resource directive names: "{$R *.rux}" or "{$R 'Name.gox'}" in a
// Pascal unit, "#pragma resource "*.rux"" in a C++ one ("*" stands for the unit's own name; a
// name without a folder lies beside the unit). Empty when the unit names no form file or cannot be
// read. Directives that name other resources (".res") are passed over.
std::string FormResourceOf(const std::string& UnitFile);

// The class `ClassName` derives from, as declared in a Pascal unit (`Pascal`) or a C++ header;
// empty when the file is missing or declares no such class.
std::string ScanAncestor(const std::string& SourceFile, std::string_view ClassName, bool Pascal);

// ReadFormHeader, then the ancestor from the unit beside the form (".pas" for Pascal projects,
// ".h" for C++ ones): a root base class as ancestor becomes RootClass (Ancestor empty); any other
// becomes Ancestor, with RootClass "TForm".
void GetFormInfo(const std::string& FileName, TFormInfo& Info);

// The place of an original form's translated copy: its folder relative to the base folder under the
// language folder; a library form under "nwl"; a form elsewhere keeps its drive and folders below
// the language folder. Empty when the result would lie outside the language folder (a ".." in the
// path). Creates the folder.
std::string XlatFormName(const std::string& FormFile, const std::string& LangDir, const std::string& BaseDir,
                         const TFormInfo* Info);

// One form of a project as the form-file lists see it: its translated copy and its information.
struct TProjectForm {
  std::string XlatFormFile;
  const TFormInfo* Info = nullptr;  // borrowed
};

// The form-file list of each form's notes header ("Forms:"), in the order of `Forms`. A form whose
// ancestor class is the class of another form of the project builds on that form: its list is its
// own translated form file, then the translated form files it builds on, nearest first (its
// ancestor's, that form's ancestor's, ...), joined by ";". Each entry is relative to the folder of
// the form's own translated copy, with "/" between folders ("OptionsDialog.rux;BaseDialog.rux",
// "Sub.rux;../Base.rux"), so that the list holds when the project folder moves; a reader of the
// list resolves the entries against the folder of the notes file. Entry 0 names the form itself,
// which a reader replaces by the file it was asked for. A form that builds on no form of the
// project has an empty list. Classes compare case-insensitively; a cycle of ancestors ends the
// chain at the first form met again.
std::vector<std::string> FormFileLists(const std::vector<TProjectForm>& Forms);

}  // namespace rux
