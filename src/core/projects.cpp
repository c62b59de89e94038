// Resource-module projects: the per-language library sources that bind the translated forms, the
// project-creation callbacks of the modules, and the translated names of project files.
#include "host/core/projects.h"

#include <string_view>
#include <utility>
#include <vector>

#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/flags.h"
#include "host/core/locale.h"
#include "host/core/registration.h"
#include "host/core/text.h"

namespace vaq {

std::function<std::string(const std::string& ProjectFile)> FindExeNameProc;
std::string LibDir;

namespace {

constexpr std::string_view kCrLf = "\r\n";

TProjectCreateProc& PelgoProc() {
  static TProjectCreateProc proc;
  return proc;
}

TProjectCreateProc& CppProc() {
  static TProjectCreateProc proc;
  return proc;
}

bool IsDelimiter(char c) {
  return c == '/' || c == '\\';
}

// A path taken apart: its root ("" for a relative path, "/" or a drive such as "C:/") and its
// folder and file names, with "." dropped and ".." applied.
struct TPathParts {
  std::string Root;
  std::vector<std::string> Names;
};

TPathParts SplitPath(std::string_view path) {
  TPathParts parts;
  if (path.size() >= 2 && path[1] == ':') {
    parts.Root = std::string(path.substr(0, 2));
    path.remove_prefix(2);
  }
  if (!path.empty() && IsDelimiter(path.front())) parts.Root += '/';
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = start;
    while (end < path.size() && !IsDelimiter(path[end])) ++end;
    const std::string_view name = path.substr(start, end - start);
    if (name == "..") {
      if (!parts.Names.empty() && parts.Names.back() != "..") {
        parts.Names.pop_back();
      } else if (parts.Root.empty()) {
        parts.Names.emplace_back(name);  // a relative path that climbs above its start
      }
    } else if (!name.empty() && name != ".") {
      parts.Names.emplace_back(name);
    }
    start = end + 1;
  }
  return parts;
}

// The names of `file` below `dir`; empty when the file is not below the folder.
std::vector<std::string> NamesBelow(const TPathParts& file, const TPathParts& dir) {
  if (!AnsiSameText(file.Root, dir.Root) || file.Names.size() <= dir.Names.size()) return {};
  for (std::size_t i = 0; i < dir.Names.size(); ++i) {
    if (!AnsiSameText(file.Names[i], dir.Names[i])) return {};
  }
  return {file.Names.begin() + static_cast<std::ptrdiff_t>(dir.Names.size()), file.Names.end()};
}

// The separator that a folder's name uses: "\\" for a name with backslashes only, else "/".
char SeparatorOf(const std::string& dir) {
  return dir.find('\\') != std::string::npos && dir.find('/') == std::string::npos ? '\\' : '/';
}

// The names joined under `dir` (with none when it is empty).
std::string JoinUnder(const std::string& dir, const std::vector<std::string>& names, char separator) {
  std::string result = dir;
  if (!result.empty() && !IsDelimiter(result.back())) result += separator;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) result += separator;
    result += names[i];
  }
  return result;
}

// A form file as the generated source names it: relative to the language folder when it lies below
// it, otherwise as given.
std::string NameInModule(const std::string& formFile, const std::string& langDir) {
  if (langDir.empty()) return formFile;
  const std::vector<std::string> names = NamesBelow(SplitPath(formFile), SplitPath(langDir));
  return names.empty() ? formFile : JoinUnder({}, names, SeparatorOf(langDir));
}

// The project's file name without folder and extension; "Project" for a project without a file.
std::string ProjectName(const TProj& Project) {
  std::string name = ChangeFileExt(ExtractFileName(Project.FileName), "");
  return name.empty() ? "Project" : name;
}

// The name the module's source gives it: the identifier asked for, else one made from the
// project's name.
std::string Identifier(const TProj& Project, bool pascal) {
  if (Project.Identifier.empty()) return ModuleIdentifier(ProjectName(Project), pascal);
  if (const std::string problem = IdentifierProblem(Project.Identifier, pascal); !problem.empty())
    throw EVaqError(Format("The module name '%s' %s", {Project.Identifier, problem}));
  return Project.Identifier;
}

// The generated source's name without extension: "<folder>/<project name>.<ABBR>".
std::string ModuleName(const TProj& Project, const TLang& Lang) {
  std::string name = ProjectName(Project);
  std::string abbreviation = LCIDToStr(Lang.Locale, false);
  if (abbreviation.empty()) abbreviation = std::to_string(Lang.Locale);
  name += '.';
  name += abbreviation;
  return Lang.Dir.empty() ? name : IncludeTrailingPathDelimiter(Lang.Dir) + name;
}

// Sets the core's project language for one generation and restores it afterwards.
class TProjectLanguage {
 public:
  explicit TProjectLanguage(bool pascal) : saved_(GlobalInPelgo) { GlobalInPelgo = pascal; }
  ~TProjectLanguage() { GlobalInPelgo = saved_; }
  TProjectLanguage(const TProjectLanguage&) = delete;
  TProjectLanguage& operator=(const TProjectLanguage&) = delete;

 private:
  bool saved_;
};

// The directive lines of all forms, in list order. A form whose extension has no file type with a
// directive handler gets the language's plain resource line from `fallback`.
template <typename Fallback>
std::string DirectiveLines(const TLang& Lang, const TStringObjectList& FormFiles, Fallback fallback) {
  std::string lines;
  for (const TStringObject& entry : FormFiles) {
    const std::string file = NameInModule(entry.Text, Lang.Dir);
    const TVaqFileType* fileType = GetVaqFileType(VaqFileTypes.ExtIndexOf(ExtractFileExt(entry.Text)));
    std::string text = fileType && fileType->FormatDirective
                           ? fileType->FormatDirective(file, entry.Object.get())
                           : fallback(file);
    // Keep the next form on a line of its own even when a handler leaves its last line open.
    if (!text.empty() && text.back() != '\n') text += kCrLf;
    lines += text;
  }
  return lines;
}

// The lines, each followed by CR LF.
std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) (text += line) += kCrLf;
  return text;
}

std::string WriteModule(const std::string& fileName, const TLang& Lang, std::string_view text) {
  if (!Lang.Dir.empty()) ForceDirectories(Lang.Dir);
  WriteFileAtomic(fileName, text);
  return fileName;
}

}  // namespace

void RegisterPelgoProjectCreate(TProjectCreateProc Proc) {
  PelgoProc() = std::move(Proc);
}

void RegisterCPPProjectCreate(TProjectCreateProc Proc) {
  CppProc() = std::move(Proc);
}

const TProjectCreateProc& PelgoProjectCreate() {
  return PelgoProc();
}

const TProjectCreateProc& CPPProjectCreate() {
  return CppProc();
}

std::string GetXlatFileName(const std::string& FileName, const std::string& LangDir,
                            const std::string& ProjectDir) {
  std::vector<std::string> names;
  if (!ProjectDir.empty()) {
    TPathParts file = SplitPath(FileName);
    if (file.Root.empty()) file = SplitPath(IncludeTrailingPathDelimiter(ProjectDir) + FileName);
    names = NamesBelow(file, SplitPath(ProjectDir));
  }
  if (names.empty()) names.push_back(ExtractFileName(FileName));
  return JoinUnder(LangDir, names, SeparatorOf(LangDir));
}

std::string CreatePascalDLL(const TProj& Project, const TLang& Lang, const TStringObjectList& FormFiles,
                            bool /*Flag1*/, bool /*Flag2*/) {
  const TProjectLanguage language(true);
  const std::string library = Identifier(Project, true);
  const std::string directives = DirectiveLines(Lang, FormFiles, [](const std::string& file) {
    return Format("{$R '%s'}", {file}) + std::string(kCrLf);
  });
  return WriteModule(ModuleName(Project, Lang) + ".pas", Lang,
                     Lines({"library " + library + ";", "", directives, "begin", "end."}));
}

std::string CreateCPPDLL(const TProj& Project, const TLang& Lang, const TStringObjectList& FormFiles,
                         bool /*Flag*/) {
  const TProjectLanguage language(false);
  const std::string module = Identifier(Project, false);
  const std::string directives = DirectiveLines(Lang, FormFiles, [](const std::string& file) {
    return Format("#pragma resource \"%s\"", {file}) + std::string(kCrLf);
  });
  return WriteModule(
      ModuleName(Project, Lang) + ".cpp", Lang,
      Lines({Format("// Resource module of %s for %s: it binds the translated forms.",
                    {module, LCIDToLangName(Lang.Locale)}),
             "// Generated by vaq; changes are lost when it is generated again.", "", directives,
             "// The module holds resources only; its entry point has nothing to do.",
             "extern \"C\" int ResourceModuleEntry(void*, unsigned long, void*) { return 1; }"}));
}

}  // namespace vaq
