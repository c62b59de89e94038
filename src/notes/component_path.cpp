// Taking a component path apart.
#include "notes/component_path.h"

#include <array>

#include "host/core/text.h"

namespace rux {
namespace {

constexpr std::size_t npos = std::string_view::npos;

// Position of the first "." after the last ":" (after the start when there is no ":"); npos when
// there is none.
std::size_t ComponentEnd(std::string_view id) {
  const std::size_t colon = id.rfind(':');
  return id.find('.', colon == npos ? 0 : colon + 1);
}

// Without the bytes up to blank (blanks and control characters) at both ends.
std::string_view Trim(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// The text before "[", trimmed; the text itself when it has no "[".
std::string_view BeforeIndex(std::string_view text) {
  const std::size_t bracket = text.find('[');
  return bracket == npos ? text : Trim(text.substr(0, bracket));
}

constexpr std::array<std::string_view, 15> kRootBaseClasses = {"TForm",
                                                               "TDataModule",
                                                               "TFrame",
                                                               "TAppletModule",
                                                               "TWebModule",
                                                               "TPropertySheet",
                                                               "TService",
                                                               "TActiveForm",
                                                               "TPropertyPage",
                                                               "TCRemoteDataModule",
                                                               "TRemoteDataModule",
                                                               "TMtsDataModule",
                                                               "TCorbaDataModule",
                                                               "TQuickRep",
                                                               "TWinControl"};

}  // namespace

std::string GetObjectName(std::string_view id) {
  const std::size_t colon = id.rfind(':');
  const std::size_t begin = colon == npos ? 0 : colon + 1;
  const std::size_t end = id.find('.', begin);
  return std::string(id.substr(begin, end == npos ? npos : end - begin));
}

std::string_view FullObjectNameView(std::string_view id) {
  const std::size_t end = ComponentEnd(id);
  return end == npos ? id.substr(0, 1) : id.substr(0, end + 1);
}

std::string GetFullObjectName(std::string_view id) {
  return std::string(FullObjectNameView(id));
}

std::string GetComponentPath(std::string_view id) {
  return std::string(ComponentPathView(id));
}

std::string_view ComponentPathView(std::string_view id) {
  if (id.find(':') == npos) return id;
  return id.substr(0, ComponentEnd(id));
}

std::string GetPropName(std::string_view id) {
  const std::size_t end = ComponentEnd(id);
  if (end == npos) return std::string();
  std::string_view name = id.substr(end + 1);
  name = name.substr(0, name.find('.'));
  return std::string(BeforeIndex(name));
}

std::string GetClassName(const vaq::TVaqNotesString& record, bool replaceRootClass,
                         const TFormInfo* formInfo) {
  std::string_view name = BeforeIndex(record.Type);
  if (name.size() > 1 && name.starts_with("C:")) name.remove_prefix(2);
  if (replaceRootClass && formInfo != nullptr && VaqIsRootBaseClass(name, formInfo))
    return formInfo->RootClass;
  return std::string(name);
}

void GetClassAndPropNames(const vaq::TVaqNotesString& record, std::string& className, std::string& propName,
                          const TFormInfo* formInfo) {
  className = GetClassName(record, true, formInfo);
  propName = GetPropName(record.Id);
}

bool VaqIsRootBaseClass(std::string_view className, const TFormInfo* formInfo) {
  if (formInfo != nullptr) return vaq::AnsiSameText(className, formInfo->FormClass);
  for (std::string_view base : kRootBaseClasses) {
    if (vaq::AnsiSameText(className, base)) return true;
  }
  return false;
}

}  // namespace rux
