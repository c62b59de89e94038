// Form classes, ancestors and translated-copy paths.
#include "updater/class_discovery.h"

#include <filesystem>
#include <map>
#include <set>

#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/flags.h"
#include "host/core/text.h"
#include "host/core/tokenizer.h"
#include "host/framework/formstream.h"
#include "notes/component_path.h"
#include "updater/form_reader.h"

namespace rux {
namespace {

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

// Pascal: "TForm2 = class(TBase)". A use of the name that is not followed by "class" (a variable
// "Form2: TForm2;", a forward "TForm2 = class;") is passed over.
std::string ScanPascal(vaq::TIntlParser& parser, std::string_view className) {
  while (parser.FindSingleToken(className)) {
    if (!parser.FindToken({"class", ":", ";", "end"})) break;
    if (!vaq::AnsiSameText(parser.Token(), "class")) continue;
    parser.NextToken(1);
    if (parser.Token() != "(") continue;
    parser.NextToken(1);
    if (parser.GetNotEOF()) return parser.Token();
  }
  return {};
}

// C++: "class TForm2 : public TBase {".
std::string ScanCpp(vaq::TIntlParser& parser, std::string_view className) {
  while (parser.FindSingleToken("class")) {
    if (!parser.FindToken({className, ":", "{", ";"})) break;
    if (!vaq::AnsiSameText(parser.Token(), className)) continue;
    if (!parser.FindToken({":", "{", ";"})) break;
    if (parser.Token() != ":") continue;
    parser.NextToken(2);
    if (parser.GetNotEOF() && parser.GetTokenType() == vaq::ttIdentifier) return parser.Token();
  }
  return {};
}

// Form text: the header is its first line, so that line with an "end" behind it is converted
// instead of the whole form (which the update converts anyway when it extracts the form). False
// when that is not a form of its own (the header spans lines, say): the whole form decides then.
bool HeaderOfText(vaq::TMemoryStream& Stream) {
  if (vaq::TestStreamFormat(Stream) != vaq::TStreamOriginalFormat::sofText) return false;
  const std::string_view text = Stream.Data();
  const std::size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos) return false;
  const std::size_t end = text.find_first_of("\r\n", start);
  vaq::TMemoryStream header(std::string(text.substr(0, end)) + "\r\nend\r\n");
  try {
    vaq::TMemoryStream converted;
    if (vaq::ObjectTextToResource(header, converted) != vaq::TStreamOriginalFormat::sofText) return false;
    Stream.Data() = std::move(converted.Data());
    Stream.Seek(0);
    vaq::SkipResourceHeader(Stream);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// The argument of a resource directive that starts at `text`: quoted, or up to a blank or the
// directive's end.
std::string_view DirectiveArgument(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  text.remove_prefix(start);
  if (text.front() == '\'' || text.front() == '"') {
    const std::size_t end = text.find(text.front(), 1);
    return end == std::string_view::npos ? std::string_view() : text.substr(1, end - 1);
  }
  std::string_view argument = text.substr(0, text.find_first_of(" \t}\r\n"));
  if (argument.ends_with("*)")) argument.remove_suffix(2);
  return argument;
}

}  // namespace

bool IsFormFileName(std::string_view FileName) {
  const std::string ext = vaq::ExtractFileExt(FileName);
  return vaq::AnsiSameText(ext, ".rux") || vaq::AnsiSameText(ext, ".gox");
}

std::string FormResourceOf(const std::string& UnitFile) {
  std::string source;
  try {
    source = vaq::ReadFileBytes(UnitFile);
  } catch (const vaq::EVaqError&) {
    return {};
  }
  // Upper case in ASCII only, so that positions in it are positions in the source.
  std::string upper = source;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  for (const std::string_view directive : {"{$R ", "{$RESOURCE ", "(*$R ", "#PRAGMA RESOURCE "}) {
    for (std::size_t at = upper.find(directive); at != std::string::npos;
         at = upper.find(directive, at + 1)) {
      const std::string_view argument =
          DirectiveArgument(std::string_view(source).substr(at + directive.size()));
      if (!IsFormFileName(argument)) continue;
      std::string name(argument);
      if (name.starts_with('*'))
        name = vaq::ChangeFileExt(vaq::ExtractFileName(UnitFile), "") + name.substr(1);
      if (name.find_first_of("/\\") == std::string::npos) name = vaq::ExtractFilePath(UnitFile) + name;
      return name;
    }
  }
  return {};
}

// Dialogs of the framework's library that programs link in; each sits in a unit of its own.
const std::vector<TLibraryForm>& LibraryForms() {
  static const std::vector<TLibraryForm> forms = {
      {"AboutDialog", "aboutdlg", "TForm"},      {"PasswordDialog", "passdlg", "TForm"},
      {"LoginDialog", "logindlg", "TForm"},      {"InputQueryForm", "inputqry", "TForm"},
      {"MessageForm", "msgdlg", "TForm"},        {"FindDialogForm", "finddlg", "TForm"},
      {"ReplaceDialogForm", "repldlg", "TForm"}, {"ProgressForm", "progress", "TForm"},
  };
  return forms;
}

void ReadFormHeader(const std::string& FileName, TFormInfo& Info) {
  vaq::TMemoryStream stream;
  try {
    stream.LoadFromFile(FileName);
  } catch (const vaq::EVaqError&) {
    return;
  }
  if (!HeaderOfText(stream) && !ConvertFormStreamQuietly(stream)) return;
  try {
    vaq::TFormReader reader(stream, 4096);
    reader.ReadSignature();
    std::uint8_t flags = 0;
    std::int32_t position = -1;
    reader.ReadPrefix(flags, position);
    std::string formClass = reader.ReadStr();
    std::string formName = reader.ReadStr();
    Info.FormClass = std::move(formClass);
    Info.FormName = std::move(formName);
  } catch (const std::exception&) {
    // A damaged header: the information stays as it was.
  }
}

std::string FormClassOf(const std::string& FileName) {
  TFormInfo info;
  ReadFormHeader(FileName, info);
  return info.FormClass;
}

std::string ScanAncestor(const std::string& SourceFile, std::string_view ClassName, bool Pascal) {
  vaq::TIntlParser& parser = vaq::IntlParser();
  if (ClassName.empty() || !vaq::FileExists(SourceFile) || !parser.InitParser(SourceFile, Pascal)) return {};
  return Pascal ? ScanPascal(parser, ClassName) : ScanCpp(parser, ClassName);
}

void GetFormInfo(const std::string& FileName, TFormInfo& Info) {
  ReadFormHeader(FileName, Info);
  const bool pascal = vaq::InPelgo();
  std::string ancestor =
      ScanAncestor(vaq::ChangeFileExt(FileName, pascal ? ".pas" : ".h"), Info.FormClass, pascal);
  if (VaqIsRootBaseClass(ancestor, nullptr)) {
    Info.RootClass = std::move(ancestor);
    Info.Ancestor.clear();
  } else {
    Info.Ancestor = std::move(ancestor);
    Info.RootClass = "TForm";
  }
}

std::string XlatFormName(const std::string& FormFile, const std::string& LangDir, const std::string& BaseDir,
                         const TFormInfo* Info) {
  std::string dir = vaq::ExtractFilePath(FormFile);
  const std::string base = BaseDir.empty() ? std::string() : vaq::IncludeTrailingPathDelimiter(BaseDir);
  if (!base.empty() && dir.size() >= base.size() &&
      vaq::AnsiUpperCase(dir.substr(0, base.size())) == vaq::AnsiUpperCase(base)) {
    dir.erase(0, base.size());
  } else if (Info != nullptr && Info->IsLibraryForm) {
    dir = "nwl";
  } else if (dir.size() > 1 && dir[1] == ':') {
    dir.erase(1, 1);
  } else if (dir.size() > 1 && IsSeparator(dir[0]) && IsSeparator(dir[1])) {
    dir.erase(0, 2);
  }
  if (dir.size() == 1 && IsSeparator(dir[0])) dir.clear();
  std::string lang = LangDir;
  while (!lang.empty() && IsSeparator(lang.back())) lang.pop_back();
  const std::string xlatDir =
      vaq::IncludeTrailingPathDelimiter(!dir.empty() && IsSeparator(dir[0]) ? lang + dir : lang + "/" + dir);

  // Nothing that a form's path holds may lead the copy out of the language folder.
  namespace fs = std::filesystem;
  const fs::path root = fs::path(lang + "/").lexically_normal();
  const fs::path target = fs::path(xlatDir).lexically_normal();
  const auto [rootEnd, targetAt] = std::mismatch(root.begin(), root.end(), target.begin(), target.end());
  if (rootEnd != root.end() && !rootEnd->empty()) return {};
  for (const fs::path& part : fs::path(dir)) {
    if (part == "..") return {};
  }
  vaq::ForceDirectories(xlatDir);
  return xlatDir + vaq::ExtractFileName(FormFile);
}

std::vector<std::string> FormFileLists(const std::vector<TProjectForm>& Forms) {
  namespace fs = std::filesystem;
  std::map<std::string, std::size_t> byClass;  // upper-case class name -> index in Forms
  for (std::size_t i = 0; i < Forms.size(); ++i) {
    if (Forms[i].Info != nullptr && !Forms[i].Info->FormClass.empty())
      byClass.emplace(vaq::AnsiUpperCase(Forms[i].Info->FormClass), i);
  }
  std::vector<std::string> lists(Forms.size());
  for (std::size_t i = 0; i < Forms.size(); ++i) {
    if (Forms[i].Info == nullptr || Forms[i].XlatFormFile.empty()) continue;
    const fs::path own = fs::path(Forms[i].XlatFormFile).lexically_normal();
    const fs::path folder = own.parent_path();
    std::string list = own.filename().generic_string();
    std::set<std::size_t> seen = {i};
    for (const TFormInfo* info = Forms[i].Info; !info->Ancestor.empty();) {
      const auto found = byClass.find(vaq::AnsiUpperCase(info->Ancestor));
      if (found == byClass.end() || !seen.insert(found->second).second) break;
      const TProjectForm& base = Forms[found->second];
      if (base.XlatFormFile.empty()) break;
      const std::string entry =
          fs::path(base.XlatFormFile).lexically_normal().lexically_relative(folder).generic_string();
      if (entry.empty() || entry.find(';') != std::string::npos) break;  // ";" separates the entries
      list += ";" + entry;
      info = base.Info;
    }
    if (list.find(';') != std::string::npos) lists[i] = std::move(list);
  }
  return lists;
}

}  // namespace rux
