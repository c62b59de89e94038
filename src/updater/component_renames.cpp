// Renamed components: their records move to the new component path before the merge matches Ids.
//
// Components are told apart by the case key of their component path (with its trailing "."), so
// that the children of a component are the keys that begin with its key: in a sorted list of keys
// they follow it as one range. The work, in order:
// 1. The components of the old notes and of the extracted lines, each as runs of lines of one path.
// 2. Vanished keys (old only) and new keys (extracted only). Without both, nothing more is done.
// 3. The topmost vanished and topmost new components (whose parents did not vanish, or are not new)
//    with their children. Each gets a signature: parent path and kind, the classes of the component
//    and its children by relative path, and the string values by relative Id.
// 4. Components with equal signatures fit each other; a signature held by exactly one vanished and
//    one new component, with a translated value among the vanished one's, is a rename.
// 5. The records of a rename get the new component path in their Ids, and Modified = now.
#include "updater/component_renames.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/values/string_notation.h"
#include "host/core/conversions.h"
#include "host/core/notes_strings.h"
#include "host/core/text.h"
#include "notes/column_table.h"
#include "notes/component_path.h"
#include "notes/notes_record.h"

namespace rux {
namespace {

// Separators inside a signature; no key, class or value in notation holds a control character.
constexpr char kField = '\x01';
constexpr char kPart = '\x02';

// A run of lines of one component: [First, Last].
struct Run {
  int First = 0;
  int Last = 0;
};

// One component of one side: its path as first written, and where its lines are.
struct Component {
  std::string Path;
  std::vector<Run> Runs;
};

using Components = std::unordered_map<std::string, Component>;

// The components of a list of Ids, by the case key of their path; lines before `from` take no part.
template <typename IdOf>
Components Collect(std::size_t count, std::size_t from, IdOf idOf) {
  Components components;
  std::string_view previous;
  Component* current = nullptr;
  for (std::size_t i = from; i < count; ++i) {
    const std::string_view path = FullObjectNameView(idOf(i));
    if (current == nullptr || path != previous) {
      Component& component = components[vaq::AnsiCaseKey(path)];
      if (component.Path.empty()) component.Path = path;
      component.Runs.push_back({static_cast<int>(i), static_cast<int>(i)});
      current = &component;
      previous = path;
    } else {
      current->Runs.back().Last = static_cast<int>(i);
    }
  }
  return components;
}

// The key of the parent of a component key ("o:f.o:panel1.o:btnok." -> "o:f.o:panel1."); empty for
// the root.
std::string_view ParentKey(std::string_view key) {
  const std::size_t colon = key.rfind(':');
  if (colon == std::string_view::npos) return {};
  const std::size_t dot = key.rfind('.', colon);
  return dot == std::string_view::npos ? std::string_view() : key.substr(0, dot + 1);
}

// Whether any ancestor of `key` is in `keys`.
bool HasAncestorIn(std::string_view key, const std::unordered_set<std::string_view>& keys) {
  for (std::string_view parent = ParentKey(key); !parent.empty(); parent = ParentKey(parent)) {
    if (keys.contains(parent)) return true;
  }
  return false;
}

// The class of a component from the Type of one of its records (without child position and
// collection prefix), as a case key.
std::string ClassKey(std::string_view type) {
  vaq::TVaqNotesString record;
  record.Type = type;
  return vaq::AnsiCaseKey(GetClassName(record, false, nullptr));
}

// One side of the comparison: its lines, its components and their sorted keys.
class Side {
 public:
  // `count` lines of which those from `from` on take part; `idOf(i)`: the Id of line i.
  template <typename IdOf>
  Side(std::size_t count, std::size_t from, IdOf idOf) : components_(Collect(count, from, idOf)) {}

  const Components& All() const { return components_; }
  const Component& Get(const std::string& key) const { return components_.at(key); }

  // The keys of all components, sorted: the children of a key follow it.
  const std::vector<std::string_view>& Sorted() {
    if (sorted_.empty()) {
      sorted_.reserve(components_.size());
      for (const auto& [key, component] : components_) sorted_.push_back(key);
      std::ranges::sort(sorted_);
    }
    return sorted_;
  }

  // The component `key` and its children: keys of this side that begin with `key`.
  std::vector<std::string_view> Subtree(std::string_view key) {
    const std::vector<std::string_view>& sorted = Sorted();
    std::vector<std::string_view> result;
    for (auto it = std::ranges::lower_bound(sorted, key); it != sorted.end() && it->starts_with(key); ++it)
      result.push_back(*it);
    return result;
  }

 private:
  Components components_;
  std::vector<std::string_view> sorted_;
};

// A topmost vanished or new component with what decides whether it fits one of the other side.
struct Candidate {
  std::string Key;
  std::string Signature;
  int FirstLine = 0;     // where it begins in its list (old notes: the order of the report)
  int Translations = 0;  // old side: translatable records of status 1 or 2
  bool Eligible = true;  // its children are all vanished (or all new), and it has a string value
};

// Builds the signature of component `key` of `side` with its children `subtree`. `line(i, visit)`
// calls visit(id, type, value) for line i when it takes part.
template <typename Lines>
Candidate MakeCandidate(const std::string& key, Side& side, const std::vector<std::string_view>& subtree,
                        Lines lines) {
  Candidate candidate{key, {}, side.Get(key).Runs.front().First, 0, true};
  const std::size_t colon = key.rfind(':');
  std::string signature(key.substr(0, colon == std::string::npos ? 0 : colon));  // parent path and kind
  std::vector<std::string> parts;
  bool haveString = false;
  for (const std::string_view member : subtree) {
    const Component& component = side.Get(std::string(member));
    const std::string_view relative = member.substr(key.size());
    bool classTaken = false;
    for (const Run& run : component.Runs) {
      for (int i = run.First; i <= run.Last; ++i) {
        lines(i, [&](std::string_view id, std::string_view type, std::string_view value, bool translated) {
          if (!classTaken) {
            parts.push_back(std::string(1, 'C') + std::string(relative) + kPart + ClassKey(type));
            classTaken = true;
          }
          if (translated) ++candidate.Translations;
          if (!vaq::values::IsStringNotation(value)) return;
          const std::string idKey = vaq::AnsiCaseKey(id);
          // Keys of a path and of an Id that begins with it agree on the path's part.
          if (!idKey.starts_with(key)) {
            candidate.Eligible = false;
            return;
          }
          parts.push_back(std::string(1, 'V') + idKey.substr(key.size()) + kPart + std::string(value));
          haveString = true;
        });
      }
    }
  }
  std::ranges::sort(parts);
  for (const std::string& part : parts) signature += kField + part;
  candidate.Signature = std::move(signature);
  candidate.Eligible = candidate.Eligible && haveString;
  return candidate;
}

// The topmost components of `side` whose keys are in `only` (vanished, or new), with their
// signatures; a component whose children are not all in `only` is not eligible.
template <typename Lines>
std::vector<Candidate> Candidates(Side& side, const std::unordered_set<std::string_view>& only, Lines lines) {
  std::vector<Candidate> result;
  for (const std::string_view key : only) {
    if (HasAncestorIn(key, only)) continue;
    const std::vector<std::string_view> subtree = side.Subtree(key);
    Candidate candidate = MakeCandidate(std::string(key), side, subtree, lines);
    candidate.Eligible = candidate.Eligible &&
                         std::ranges::all_of(subtree, [&](std::string_view k) { return only.contains(k); });
    result.push_back(std::move(candidate));
  }
  std::ranges::sort(result, {}, &Candidate::FirstLine);
  return result;
}

// The position after the "." that follows the `segments`-th ":" of `id` (the end of the path of
// an ancestor with that many segments); npos when `id` has fewer.
std::size_t AfterSegments(std::string_view id, std::size_t segments) {
  std::size_t at = 0;
  for (std::size_t n = 0; n < segments; ++n) {
    at = id.find(':', at);
    if (at == std::string_view::npos) return at;
    ++at;
  }
  const std::size_t dot = id.find('.', at);
  return dot == std::string_view::npos ? dot : dot + 1;
}

bool InUse(std::string_view line) {
  return vaq::GetValueView(line, KeyOrder) != "-1";
}

}  // namespace

std::string TComponentRename::OldName() const {
  return GetObjectName(OldPath);
}

std::string TComponentRename::NewName() const {
  return GetObjectName(NewPath);
}

std::vector<TComponentRename> MoveRenamedComponents(std::vector<std::string>& OldNotes,
                                                    const TExtractedLines& Lines, vaq::TDateTime Now) {
  // Unused records lead the file; they belong to components that vanished before.
  std::size_t firstInUse = 0;
  while (firstInUse < OldNotes.size() && !InUse(OldNotes[firstInUse])) ++firstInUse;
  Side old(OldNotes.size(), firstInUse, [&](std::size_t i) { return vaq::GetValueView(OldNotes[i], KeyId); });
  Side form(Lines.size(), 0, [&](std::size_t i) { return std::string_view(Lines[i].Id); });

  std::unordered_set<std::string_view> vanished, added;
  for (const auto& [key, component] : old.All())
    if (!form.All().contains(key)) vanished.insert(key);
  for (const auto& [key, component] : form.All())
    if (!old.All().contains(key)) added.insert(key);
  if (vanished.empty() || added.empty()) return {};

  const auto oldLine = [&](int i, const auto& visit) {
    const std::string& line = OldNotes[i];
    if (!InUse(line)) return;
    const std::string_view status = vaq::GetValueView(line, KeyStatus);
    const bool translated =
        (status == "1" || status == "2") && vaq::StrToBoo(vaq::GetValueView(line, KeyLocalize));
    visit(vaq::GetValueView(line, KeyId), vaq::GetValueView(line, KeyType), vaq::GetValueView(line, KeyOrig),
          translated);
  };
  const auto formLine = [&](int i, const auto& visit) {
    const TExtractedLine& line = Lines[i];
    visit(line.Id, line.Data.Type, line.Data.Value, false);
  };
  const std::vector<Candidate> gone = Candidates(old, vanished, oldLine);
  const std::vector<Candidate> appeared = Candidates(form, added, formLine);

  // How many components of each side hold a signature, and the new one that holds it.
  struct Fit {
    int Old = 0;
    int New = 0;
    const Candidate* NewOne = nullptr;
  };
  std::unordered_map<std::string_view, Fit> fits;
  for (const Candidate& candidate : gone) ++fits[candidate.Signature].Old;
  for (const Candidate& candidate : appeared) {
    Fit& fit = fits[candidate.Signature];
    ++fit.New;
    fit.NewOne = &candidate;
  }

  std::vector<TComponentRename> renames;
  const std::string now = vaq::VaqFloatToStr(Now);
  for (const Candidate& candidate : gone) {
    const Fit& fit = fits[candidate.Signature];
    if (fit.Old != 1 || fit.New != 1 || !candidate.Eligible || !fit.NewOne->Eligible) continue;
    if (candidate.Translations == 0) continue;
    const std::string& oldPath = old.Get(candidate.Key).Path;
    const std::string& newPath = form.Get(fit.NewOne->Key).Path;
    const std::size_t segments = static_cast<std::size_t>(std::ranges::count(oldPath, ':'));
    for (const std::string_view member : old.Subtree(candidate.Key)) {
      for (const Run& run : old.Get(std::string(member)).Runs) {
        for (int i = run.First; i <= run.Last; ++i) {
          std::string& line = OldNotes[i];
          if (!InUse(line)) continue;
          const std::string_view id = vaq::GetValueView(line, KeyId);
          const std::size_t rest = AfterSegments(id, segments);
          if (rest == std::string_view::npos) continue;
          vaq::SetValueInPlace(line, KeyId, newPath + std::string(id.substr(rest)));
          vaq::SetValueInPlace(line, KeyModified, now);
        }
      }
    }
    renames.push_back({oldPath, newPath, candidate.Translations});
  }
  return renames;
}

}  // namespace rux
