// Renamed components: their records move to the new component path before the merge matches Ids.
//
// Components are told apart by the case key of their component path (with its trailing "."): the
// keys of a component's children begin with its key, and its parent's key is its own without the
// last segment. The work, in order:
// 1. The components of the old notes and of the extracted lines, each as runs of lines of one path.
// 2. Vanished keys (old only) and new keys (extracted only). Without both, nothing more is done;
//    when both lists name the same components in the same order, not even step 1.
// 3. The topmost vanished and topmost new components (whose parents did not vanish, or are not new)
//    with their children. Each gets a signature: parent path and kind, the classes of the component
//    and its children by relative path, and the string values by relative Id.
// 4. Components with equal signatures fit each other; a signature held by exactly one vanished and
//    one new component, with a translated value among the vanished one's, is a rename.
// 5. The records of a rename get the new component path in their Ids, and Modified = now.
#include "updater/component_renames.h"

#include <algorithm>
#include <optional>
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

// One component of one side: where its lines are. Its path is that of its first line.
struct Component {
  std::vector<Run> Runs;
};

// Lookups by a key as a view, without a string made for each.
struct KeyHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>()(key); }
};
using Components = std::unordered_map<std::string, Component, KeyHash, std::equal_to<>>;

// The components of a list of Ids, by the case key of their path; lines before `from` take no part.
template <typename IdOf>
Components Collect(std::size_t count, std::size_t from, IdOf idOf) {
  Components components;
  components.reserve((count - from) / 4 + 1);
  std::string_view previous;
  Component* current = nullptr;
  for (std::size_t i = from; i < count; ++i) {
    const std::string_view path = FullObjectNameView(idOf(i));
    if (current == nullptr || path != previous) {
      current = &components[vaq::AnsiCaseKey(path)];
      current->Runs.push_back({static_cast<int>(i), static_cast<int>(i)});
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

// The topmost of `key` and its ancestors that is in `keys` (`key` itself is).
std::string_view TopmostIn(std::string_view key, const std::unordered_set<std::string_view>& keys) {
  std::string_view top = key;
  for (std::string_view parent = ParentKey(key); !parent.empty(); parent = ParentKey(parent)) {
    if (const auto it = keys.find(parent); it != keys.end()) top = *it;
  }
  return top;
}

// The class of a component from the Type of one of its records (without child position and
// collection prefix), as a case key.
std::string ClassKey(std::string_view type) {
  vaq::TVaqNotesString record;
  record.Type = type;
  return vaq::AnsiCaseKey(GetClassName(record, false, nullptr));
}

// A topmost vanished or new component, its children that vanished (or are new) with it, and what
// decides whether it fits one of the other side.
struct Candidate {
  std::string_view Key;
  std::vector<std::string_view> Members;  // the component and those children
  std::string Signature;
  int FirstLine = 0;     // where it begins in its list (old notes: the order of the report)
  int Translations = 0;  // old side: translatable records of status 1 or 2
  bool Eligible = true;  // it has a string value, and every Id agrees with its path
};

// Makes the signature of `candidate` from the lines of its members: parent path and kind, then
// sorted, the class of each member by relative path and each string value by relative Id.
// `line(i, visit)` calls visit(id, type, value, translated) for line i when it takes part.
template <typename Lines>
void Sign(Candidate& candidate, const Components& components, Lines line) {
  const std::string_view key = candidate.Key;
  const std::size_t colon = key.rfind(':');
  std::string signature(key.substr(0, colon == std::string_view::npos ? 0 : colon));
  std::vector<std::string> parts;
  bool haveString = false;
  for (const std::string_view member : candidate.Members) {
    const std::string_view relative = member.substr(key.size());
    bool classTaken = false;
    for (const Run& run : components.find(member)->second.Runs) {
      for (int i = run.First; i <= run.Last; ++i) {
        line(i, [&](std::string_view id, std::string_view type, std::string_view value, bool translated) {
          if (!classTaken) {
            parts.push_back('C' + std::string(relative) + kPart + ClassKey(type));
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
          parts.push_back('V' + idKey.substr(key.size()) + kPart + std::string(value));
          haveString = true;
        });
      }
    }
  }
  std::ranges::sort(parts);
  for (const std::string& part : parts) signature += kField + part;
  candidate.Signature = std::move(signature);
  candidate.Eligible = candidate.Eligible && haveString;
}

// The topmost components of `components` whose keys are in `only` (vanished, or new), each with
// its children in `only`, signed; in the order of their lines.
template <typename Lines>
std::vector<Candidate> Candidates(const Components& components,
                                  const std::unordered_set<std::string_view>& only, Lines line) {
  std::unordered_map<std::string_view, std::size_t> byKey;
  std::vector<Candidate> result;
  for (const std::string_view key : only) {
    const std::string_view top = TopmostIn(key, only);
    const auto [it, added] = byKey.try_emplace(top, result.size());
    if (added) {
      result.emplace_back();
      result.back().Key = top;
    }
    result[it->second].Members.push_back(key);
  }
  for (Candidate& candidate : result) {
    candidate.FirstLine = components.find(candidate.Key)->second.Runs.front().First;
    Sign(candidate, components, line);
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

// The component path of each run of lines of one path, in order.
template <typename IdOf>
class PathRuns {
 public:
  PathRuns(std::size_t count, std::size_t from, IdOf idOf) : count_(count), next_(from), idOf_(idOf) {}
  // The path of the next run; none at the end.
  std::optional<std::string_view> Next() {
    while (next_ < count_) {
      const std::string_view path = FullObjectNameView(idOf_(next_++));
      if (started_ && path == previous_) continue;
      started_ = true;
      previous_ = path;
      return path;
    }
    return std::nullopt;
  }

 private:
  std::size_t count_, next_;
  IdOf idOf_;
  bool started_ = false;
  std::string_view previous_;
};

// Whether both lists name the same components in the same order, so that none vanished and none
// is new: the common case (a form whose values changed, or did not), told without building indexes.
template <typename OldId, typename FormId>
bool SameComponents(PathRuns<OldId> old, PathRuns<FormId> form) {
  while (true) {
    const std::optional<std::string_view> a = old.Next(), b = form.Next();
    if (!a || !b) return !a && !b;
    if (*a != *b && !vaq::AnsiSameText(*a, *b)) return false;
  }
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
  const auto oldId = [&](std::size_t i) { return vaq::GetValueView(OldNotes[i], KeyId); };
  const auto formId = [&](std::size_t i) { return std::string_view(Lines[i].Id); };
  if (SameComponents(PathRuns(OldNotes.size(), firstInUse, oldId), PathRuns(Lines.size(), 0, formId)))
    return {};
  const Components old = Collect(OldNotes.size(), firstInUse, oldId);
  const Components form = Collect(Lines.size(), 0, formId);

  std::unordered_set<std::string_view> vanished, added;
  for (const auto& [key, component] : old)
    if (!form.contains(key)) vanished.insert(key);
  for (const auto& [key, component] : form)
    if (!old.contains(key)) added.insert(key);
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

  // All renames are decided before the first line changes: paths are read from the lines.
  std::vector<std::pair<const Candidate*, TComponentRename>> moves;
  for (const Candidate& candidate : gone) {
    const Fit& fit = fits[candidate.Signature];
    if (fit.Old != 1 || fit.New != 1 || !candidate.Eligible || !fit.NewOne->Eligible) continue;
    if (candidate.Translations == 0) continue;
    moves.emplace_back(&candidate,
                       TComponentRename{std::string(FullObjectNameView(oldId(candidate.FirstLine))),
                                        std::string(FullObjectNameView(formId(fit.NewOne->FirstLine))),
                                        candidate.Translations});
  }
  const std::string now = vaq::VaqFloatToStr(Now);
  std::vector<TComponentRename> renames;
  for (auto& [candidate, rename] : moves) {
    const std::size_t segments = static_cast<std::size_t>(std::ranges::count(rename.OldPath, ':'));
    for (const std::string_view member : candidate->Members) {
      for (const Run& run : old.find(member)->second.Runs) {
        for (int i = run.First; i <= run.Last; ++i) {
          std::string& line = OldNotes[i];
          if (!InUse(line)) continue;
          const std::string_view id = vaq::GetValueView(line, KeyId);
          const std::size_t rest = AfterSegments(id, segments);
          if (rest == std::string_view::npos) continue;
          vaq::SetValueInPlace(line, KeyId, rename.NewPath + std::string(id.substr(rest)));
          vaq::SetValueInPlace(line, KeyModified, now);
        }
      }
    }
    renames.push_back(std::move(rename));
  }
  return renames;
}

}  // namespace rux
