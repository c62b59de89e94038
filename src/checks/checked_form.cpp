// Reading notes records into the checks' model.
#include "checks/checked_form.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <set>

#include "core/values/string_notation.h"
#include "host/core/text.h"
#include "notes/component_path.h"
#include "notes/notes_record.h"
#include "notes/rux_mgr.h"

namespace rux::checks {
namespace {

// The list element of an Id ending in "Strings[n]": the Id before "[" and n.
bool ListElement(std::string_view id, std::string_view& list, int& index) {
  if (id.empty() || id.back() != ']') return false;
  const std::size_t open = id.rfind('[');
  if (open == std::string_view::npos || open < 7 || id.substr(open - 7, 7) != "Strings") return false;
  const std::string_view digits = id.substr(open + 1, id.size() - open - 2);
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
  if (error != std::errc() || end != digits.data() + digits.size() || index < 0) return false;
  list = id.substr(0, open);
  return true;
}

struct ListState {
  std::size_t FirstSeen = 0;
  int Elements = 0;
  std::set<int> Written;
};

}  // namespace

TCheckedForm ReadCheckedForm(const std::vector<std::string>& Lines, const std::string& File,
                             vaq::TLCID Source, vaq::TLCID Target) {
  std::vector<std::string> lines = Lines;
  TRuxMgr::RemoveHeaderLines(lines);

  TCheckedForm form;
  form.File = File;
  form.Source = Source;
  form.Target = Target;

  std::vector<std::pair<std::int32_t, TCheckedText>> texts;
  std::map<std::string, ListState, std::less<>> lists;
  for (const std::string& line : lines) {
    const vaq::TVaqNotesString record = StringToNotesString(line, File);
    if (record.Status == StatusObsolete) continue;
    const bool written = record.Order != OrderNotWritten;

    std::string_view listId;
    int index = 0;
    if (ListElement(record.Id, listId, index)) {
      auto [it, added] = lists.try_emplace(std::string(listId));
      if (added) it->second.FirstSeen = lists.size();
      it->second.Elements = std::max(it->second.Elements, index + 1);
      if (written) it->second.Written.insert(index);
    }
    if (!written) continue;

    std::optional<std::u16string> orig = vaq::values::DecodeString(record.Orig, Source);
    std::optional<std::u16string> curr = vaq::values::DecodeString(record.Curr, Target);
    if (!orig || !curr) continue;

    TCheckedText text;
    text.Id = record.Id;
    text.ComponentPath = GetComponentPath(record.Id);
    const std::size_t dot = text.ComponentPath.rfind('.');
    if (dot != std::string::npos) text.ParentPath = text.ComponentPath.substr(0, dot);
    if (text.ComponentPath.size() + 1 < record.Id.size())
      text.Property = record.Id.substr(text.ComponentPath.size() + 1);
    text.ClassName = GetClassName(record, false, nullptr);
    text.CollectionItem = record.Type.starts_with("C:");
    text.Localize = record.Localize;
    text.Status = record.Status;
    text.Orig = std::move(*orig);
    text.Curr = std::move(*curr);
    texts.emplace_back(record.Order, std::move(text));
  }
  std::stable_sort(texts.begin(), texts.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& entry : texts) form.Texts.push_back(std::move(entry.second));

  std::vector<std::pair<std::size_t, TCheckedList>> ordered;
  for (auto& [id, state] : lists) {
    TCheckedList list;
    list.Id = id;
    list.Elements = state.Elements;
    list.Written = static_cast<int>(state.Written.size());
    for (int i = 0; i < state.Elements; ++i) {
      if (!state.Written.contains(i)) list.Missing.push_back(i);
    }
    ordered.emplace_back(state.FirstSeen, std::move(list));
  }
  std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& entry : ordered) form.Lists.push_back(std::move(entry.second));
  return form;
}

}  // namespace rux::checks
