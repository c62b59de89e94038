// The merge of extracted lines into a notes file.
//
// Old notes are grouped into runs of records of one object (component path). The extracted lines
// are taken object by object from the front; each object is matched with its group, searched from
// a cursor that follows the form's order, so that a form whose objects kept their order is merged
// in one pass and objects that moved are still found. Inside an object each value is matched by
// Id with the first untaken old record; list elements and collection items are matched run by
// run, so that old elements between them are flushed in place. Old records that were not matched
// are flushed: unused (to the top of the file) or, for values that exist only in the translated
// form, kept where they were.
//
// Before the matching, the records of renamed components get their new Ids (component_renames.h),
// so that the matching carries them over like the records of any component that kept its name.
//
// Old lines are never removed while merging: a matched one is marked taken, so that indexes into
// old notes stay valid. The searches are backed by hash indexes over old notes (by Id, by the last
// "[n]" of an Id, by object path) and a skip list over taken lines; each gives the same answer as
// a scan in file order would.
#include "updater/merge_notes.h"

#include <algorithm>
#include <exception>
#include <numeric>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/notes_header.h"
#include "host/core/notes_strings.h"
#include "host/core/options.h"
#include "host/core/repository.h"
#include "host/core/text.h"
#include "notes/column_table.h"
#include "notes/component_path.h"
#include "notes/notes_record.h"
#include "notes/rux_mgr.h"
#include "updater/component_renames.h"
#include "updater/localizable.h"
#include "updater/updater_messages.h"

namespace rux {
namespace {

using IndexList = std::vector<int>;
using Index = std::unordered_map<std::string, IndexList>;

// Order text of a record that is not written back, and of one placed by the current merge.
constexpr std::string_view kOrderUnused = "-1";
constexpr std::string_view kOrderPlaced = "-2";

// The last "[...]" of a case key: every text that contains the key contains it too.
std::string_view LastBracket(std::string_view key) {
  const std::size_t close = key.rfind(']');
  if (close == std::string_view::npos) return {};
  const std::size_t open = key.rfind('[', close);
  return open == std::string_view::npos ? std::string_view() : key.substr(open, close - open + 1);
}

// Every distinct "[...]" of a case key, each ending at one of its "]".
std::vector<std::string_view> Brackets(std::string_view key) {
  std::vector<std::string_view> result;
  for (std::size_t close = key.find(']'); close != std::string_view::npos; close = key.find(']', close + 1)) {
    const std::size_t open = key.rfind('[', close);
    if (open == std::string_view::npos) continue;
    const std::string_view bracket = key.substr(open, close - open + 1);
    if (std::ranges::find(result, bracket) == result.end()) result.push_back(bracket);
  }
  return result;
}

void Remove(IndexList& list, int value) {
  const auto it = std::ranges::lower_bound(list, value);
  if (it != list.end() && *it == value) list.erase(it);
}

// A run of old records of one object: old notes [First, Last].
struct Group {
  std::string Key;  // case key of the object path
  int First = 0;
  int Last = 0;
  bool Inherited = false;  // the object is an inherited component ("I:")
  bool Removed = false;
};

// An old-notes range the lines of an object are matched against.
struct Range {
  int First = 0;
  int Last = 0;
};

// What decides whether the next extracted line belongs to the object being merged: its object
// path, or (inside a list element or collection item) its Id containing the element's prefix.
struct Scope {
  std::string Path;  // object path or element prefix, as extracted
  std::string Key;   // its case key
  bool Element = false;
  int Object = -1;  // number of the object path among the extracted lines
};

class Merger {
 public:
  // `scan`: search by scanning in file order instead of through the indexes (the reference the
  // indexes are tested against).
  // `oldNotes`: the old notes to merge into; none: the notes file's.
  Merger(const TMergeForm& form, TExtractedLines& lines, vaq::TStats& stats, bool scan,
         std::optional<std::vector<std::string>> oldNotes, TLocalizableRule& localizable)
      : form_(form),
        lines_(lines),
        stats_(stats),
        scan_(scan),
        givenOld_(std::move(oldNotes)),
        localizable_(localizable) {}

  // Steps that may fail while the notes file is still untouched.
  void Merge() {
    useRepository_ = vaq::VaqINTOptionProps.GetBool(vaq::kOptUseRepositoryOnUpdate) && form_.ProjectMode;
    now_ = vaq::VaqNow();
    LoadOldNotes();
    if (form_.ProjectMode && vaq::VaqINTOptionProps.GetBool(vaq::kOptDetectRenamesOnUpdate)) {
      renames_ = MoveRenamedComponents(old_, lines_, now_);
      stats_.Renamed += static_cast<std::int32_t>(renames_.size());
    }
    IndexOldNotes();
    IndexExtractedLines();
    while (front_ < lines_.size()) {
      const std::string path = GetFullObjectName(lines_[front_].Id);
      ProcessObject(path, lineObject_[front_], lines_[front_].Data.Order);
    }
    FlushVanishedObjects();
  }

  // The components whose records moved to a new name.
  std::vector<TComponentRename> TakeRenames() { return std::move(renames_); }

  // The new notes in file order, renumbered.
  std::vector<std::string> TakeNewNotes() {
    std::vector<std::string> result;
    result.reserve(top_.size() + body_.size());
    std::move(top_.rbegin(), top_.rend(), std::back_inserter(result));
    std::move(body_.begin(), body_.end(), std::back_inserter(result));
    // The order counter is 32 bits wide: notes of more than 65535 records keep their order.
    std::int32_t order = 0;
    for (std::string& line : result) {
      if (vaq::GetValueView(line, KeyOrder) == kOrderUnused) continue;
      vaq::SetValueInPlace(line, KeyOrder, std::to_string(order++));
    }
    return result;
  }

 private:
  // ---- preparation ----

  void LoadOldNotes() {
    if (givenOld_) {
      old_ = std::move(*givenOld_);
    } else {
      if (!vaq::FileExists(form_.NotesFile)) return;
      old_ = vaq::LoadLines(form_.NotesFile);
    }
    TRuxMgr::RemoveHeaderLines(old_);
  }

  void IndexOldNotes() {
    const int count = static_cast<int>(old_.size());
    taken_.assign(old_.size(), false);
    next_.resize(old_.size() + 1);
    std::iota(next_.begin(), next_.end(), 0);
    sameId_.assign(old_.size(), -1);
    idKeys_.reserve(old_.size());
    for (const std::string& line : old_) idKeys_.push_back(vaq::AnsiCaseKey(vaq::GetValueView(line, KeyId)));
    int i = 0;
    // Unused records lead the file and stay there.
    for (; i < count && vaq::GetValueView(old_[i], KeyOrder) == kOrderUnused; ++i) body_.push_back(old_[i]);
    // Ids are indexed as chains of equal keys in file order.
    std::unordered_map<std::string_view, int> lastOfId;
    firstOfId_.reserve(old_.size());
    lastOfId.reserve(old_.size());
    for (int k = i; k < count; ++k) {
      const auto [it, added] = firstOfId_.try_emplace(idKeys_[k], k);
      if (!added) sameId_[lastOfId[idKeys_[k]]] = k;
      lastOfId[idKeys_[k]] = k;
      for (const std::string_view bracket : Brackets(idKeys_[k])) {
        IndexList& list = byBracket_[std::string(bracket)];
        if (list.empty() || list.back() != k) list.push_back(k);
      }
    }
    // Runs of one object path (compared exactly) become groups.
    std::string_view previous;
    for (; i < count; ++i) {
      const std::string_view path = FullObjectNameView(vaq::GetValueView(old_[i], KeyId));
      if (groups_.empty() || path != previous) {
        if (!groups_.empty()) groups_.back().Last = i - 1;
        const std::size_t colon = path.rfind(':');
        const bool inherited = colon == std::string_view::npos || colon == 0 || path[colon - 1] == 'I';
        groups_.push_back({vaq::AnsiCaseKey(path), i, i, inherited, false});
        previous = path;
      }
    }
    if (!groups_.empty()) groups_.back().Last = count - 1;
    for (int g = 0; g < static_cast<int>(groups_.size()); ++g) groupsByKey_[groups_[g].Key].push_back(g);
  }

  // Extracted lines are numbered by object (case key of the object path).
  void IndexExtractedLines() {
    lineKeys_.reserve(lines_.size());
    lineObject_.reserve(lines_.size());
    std::string_view previous;
    int object = -1;
    for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
      lineKeys_.push_back(vaq::AnsiCaseKey(lines_[i].Id));
      const std::string_view path = FullObjectNameView(lines_[i].Id);
      if (object < 0 || path != previous) {
        const auto [it, added] =
            objectNumber_.try_emplace(vaq::AnsiCaseKey(path), static_cast<int>(objectLines_.size()));
        if (added) objectLines_.emplace_back();
        object = it->second;
        previous = path;
      }
      lineObject_.push_back(object);
      objectLines_[object].push_back(i);
    }
  }

  // ---- objects and groups ----

  // The first group at or after `from` whose object path has the case key `key`, or -1.
  int FindGroup(const std::string& key, int from) const {
    if (scan_) {
      for (int g = from; g < static_cast<int>(groups_.size()); ++g)
        if (!groups_[g].Removed && groups_[g].Key == key) return g;
      return -1;
    }
    const auto it = groupsByKey_.find(key);
    if (it == groupsByKey_.end()) return -1;
    const auto found = std::ranges::lower_bound(it->second, from);
    return found == it->second.end() ? -1 : *found;
  }

  // Removes group `g` from the list; the cursor stays on the group it pointed at, or moves on to
  // the next one when that was `g`.
  Range RemoveGroup(int g) {
    Group& group = groups_[g];
    group.Removed = true;
    Remove(groupsByKey_[group.Key], g);
    while (cursor_ < static_cast<int>(groups_.size()) && groups_[cursor_].Removed) ++cursor_;
    return {group.First, group.Last};
  }

  // The first extracted line not yet merged whose object path has the case key `key`, or -1.
  int FirstRemainingLine(const std::string& key) const {
    if (scan_) {
      for (std::size_t i = front_; i < lines_.size(); ++i)
        if (vaq::AnsiCaseKey(FullObjectNameView(lines_[i].Id)) == key) return static_cast<int>(i);
      return -1;
    }
    const auto it = objectNumber_.find(key);
    if (it == objectNumber_.end()) return -1;
    const IndexList& lines = objectLines_[it->second];
    const auto found = std::ranges::lower_bound(lines, static_cast<int>(front_));
    return found == lines.end() ? -1 : *found;
  }

  // The extracted lines of one object, with the old group of the same object path if there is one.
  // A group found behind the cursor means objects were skipped: those that have no lines left have
  // vanished and are flushed; the others have moved further down the form and are searched from the
  // first group when their turn comes.
  void ProcessObject(const std::string& path, int object, std::int32_t order) {
    objectBegin_ = body_.size();
    structureChanged_ = false;
    const Scope scope{path, vaq::AnsiCaseKey(path), false, object};
    const int g = FindGroup(scope.Key, order == -1 ? cursor_ : 0);
    if (g < 0) {
      MergeLines(scope, std::nullopt);
    } else {
      for (int p = cursor_; p < g; ++p) {
        if (groups_[p].Removed) continue;
        const int line = FirstRemainingLine(groups_[p].Key);
        if (line < 0) {
          FlushVanishedGroup(p);
        } else {
          cursor_ = p + 1;
          lines_[line].Data.Order = 0;
        }
      }
      MergeGroup(g, &scope);
    }
    if (structureChanged_) RepairStructureTokens(body_, objectBegin_, path);
  }

  // Merges the object's lines (if any) against group `g`, then flushes what is left of the group.
  void MergeGroup(int g, const Scope* scope) {
    const Range range = RemoveGroup(g);
    if (scope != nullptr) MergeLines(*scope, range);
    Flush(range.First, range.Last);
  }

  // ---- lines ----

  bool Belongs(const Scope& scope) const {
    if (front_ >= lines_.size()) return false;
    if (scope.Element) return lineKeys_[front_].find(scope.Key) != std::string::npos;
    return lineObject_[front_] == scope.Object;
  }

  // The consecutive extracted lines of one object (or list element, or collection item). With old
  // records, a line inside a list or collection starts a run of its element's lines, matched
  // against the old lines of that element; after the run the next line of the object is merged by
  // itself.
  void MergeLines(const Scope& scope, std::optional<Range> range) {
    while (Belongs(scope)) {
      const std::string& id = lines_[front_].Id;
      const std::string_view part = std::string_view(id).substr(std::min(scope.Path.size(), id.size()));
      if (range && part.find(']') != std::string_view::npos) {
        MergeElement(scope, part, *range);
        // A run that ends the object (or the form) leaves no line of this object to merge.
        if (!Belongs(scope)) break;
      }
      MergeLine(range);
    }
  }

  // The lines of one list element or collection item (`part`: the Id after the object path).
  // Untaken old lines before the element are flushed first; the element's lines are matched
  // against the old lines up to the last one of the same element.
  void MergeElement(const Scope& scope, std::string_view part, Range range) {
    structureChanged_ = true;
    const std::string_view cut = part.substr(0, part.rfind(']') + 1);
    Scope element{scope.Path + std::string(cut), {}, true, -1};
    element.Key = vaq::AnsiCaseKey(element.Path);
    const std::string cutKey = vaq::AnsiCaseKey(cut);
    const int found = SearchForward(cutKey, range.First, range.Last);
    // An element the old notes do not have flushes nothing: the old lines after it may still be
    // matched by values that follow the list.
    if (found >= 0) Flush(range.First, found - 1);
    const int back = SearchBackward(element.Key, range.Last, range.First + 1, range.First);
    MergeLines(element, Range{range.First, back});
    if (found >= 0) Flush(range.First, back);
  }

  // The first old line in [first, last) whose Id contains `key` (a case key), or -1.
  int SearchForward(const std::string& key, int first, int last) const {
    const std::string_view bracket = LastBracket(key);
    if (bracket.empty() || scan_) {
      for (int i = first; i < last; ++i)
        if (idKeys_[i].find(key) != std::string::npos) return i;
      return -1;
    }
    const auto it = byBracket_.find(std::string(bracket));
    if (it == byBracket_.end()) return -1;
    for (auto c = std::ranges::lower_bound(it->second, first); c != it->second.end() && *c < last; ++c) {
      if (idKeys_[*c].find(key) != std::string::npos) return *c;
    }
    return -1;
  }

  // The last old line in [stop, last] whose Id contains `key`, or `otherwise`.
  int SearchBackward(const std::string& key, int last, int stop, int otherwise) const {
    const std::string_view bracket = LastBracket(key);
    if (bracket.empty() || scan_) {
      for (int i = last; i >= stop; --i)
        if (idKeys_[i].find(key) != std::string::npos) return i;
      return otherwise;
    }
    const auto it = byBracket_.find(std::string(bracket));
    if (it == byBracket_.end()) return otherwise;
    for (auto c = std::ranges::upper_bound(it->second, last); c != it->second.begin();) {
      --c;
      if (*c < stop) break;
      if (idKeys_[*c].find(key) != std::string::npos) return *c;
    }
    return otherwise;
  }

  // The first untaken old line at or after `first` with the same Id (case-insensitive), or -1.
  int FindUntakenId(const std::string& key, int first) const {
    if (scan_) {
      for (int i = first; i < static_cast<int>(old_.size()); ++i)
        if (!taken_[i] && idKeys_[i] == key) return i;
      return -1;
    }
    const auto it = firstOfId_.find(key);
    int i = it == firstOfId_.end() ? -1 : it->second;
    while (i >= 0 && (i < first || taken_[i])) i = sameId_[i];
    return i;
  }

  // One extracted line: a new record, a changed one or the old one as it was.
  void MergeLine(std::optional<Range> range) {
    const TExtractedLine& line = lines_[front_];
    const int match = range ? FindUntakenId(lineKeys_[front_], range->First) : -1;
    if (match < 0) {
      vaq::TVaqNotesString record = NewRecord(line);
      if (record.Localize) ++stats_.New;
      body_.push_back(NotesStringToString(record, false));
    } else {
      std::string& old = old_[match];
      const std::string_view oldValue = vaq::GetValueView(old, form_.ProjectMode ? KeyOrig : KeyCurr);
      if (oldValue != line.Data.Value) {
        vaq::TVaqNotesString record = StringToNotesString(old, form_.NotesFile);
        if (record.Localize) ++stats_.Changed;
        ChangeRecord(record, line.Data.Value);
        record.Order = -2;
        record.Type = line.Data.Type;
        record.Open = line.Data.Open;
        record.Close = line.Data.Close;
        body_.push_back(NotesStringToString(record, false));
      } else {
        if (vaq::StrToBoo(vaq::GetValueView(old, KeyLocalize))) ++stats_.Unchanged;
        body_.push_back(std::move(old_[match]));  // a taken line is not read again
        SetStructureKeys(body_.back(), line.Data);
      }
      Take(match);
    }
    ++front_;
  }

  // The Order of a placed record becomes "-2"; Type, Open and Close follow the form.
  static void SetStructureKeys(std::string& line, const TRuzDatastring& data) {
    const auto set = [&line](std::string_view key, std::string_view value) {
      if (vaq::GetValueView(line, key) != value) vaq::SetValueInPlace(line, key, value);
    };
    set(KeyOrder, kOrderPlaced);
    set(KeyType, data.Type);
    set(KeyOpen, data.Open);
    set(KeyClose, data.Close);
  }

  vaq::TVaqNotesString NewRecord(const TExtractedLine& line) {
    vaq::TVaqNotesString record;
    record.Id = line.Id;
    if (form_.ProjectMode) record.Orig = line.Data.Value;
    record.Curr = line.Data.Value;
    record.Status = form_.ProjectMode ? StatusUntranslated : StatusTranslated;
    if (useRepository_ && LookUp(record.Curr)) record.Status = StatusAutoTranslated;
    record.Order = -2;
    record.Type = line.Data.Type;
    record.Open = line.Data.Open;
    record.Close = line.Data.Close;
    record.Created = record.Modified = now_;
    record.Localize = localizable_(record, form_.FormInfo);
    return record;
  }

  void ChangeRecord(vaq::TVaqNotesString& record, const std::string& value) const {
    record.Modified = now_;
    if (!form_.ProjectMode) {
      record.Curr = value;
      record.Status = StatusTranslated;
      return;
    }
    if (record.Status != StatusUntranslated) {
      record.PrevOrig = record.Orig;
      record.PrevCurr = record.Curr;
    }
    record.Orig = record.Curr = value;
    record.Status = StatusUntranslated;
    if (useRepository_ && LookUp(record.Curr)) record.Status = StatusAutoTranslated;
  }

  bool LookUp(std::string& text) const {
    return vaq::GetTranslation(form_.SourceLocale, form_.TargetLocale, text);
  }

  // ---- flushing ----

  void Take(int i) {
    taken_[i] = true;
    next_[i] = i + 1;
  }

  // The first untaken old line at or after `i` (old_.size() when there is none).
  int NextUntaken(int i) {
    if (scan_) {
      while (i < static_cast<int>(old_.size()) && taken_[i]) ++i;
      return i;
    }
    int root = i;
    while (next_[root] != root) root = next_[root];
    while (next_[i] != root) i = std::exchange(next_[i], root);
    return root;
  }

  void Flush(int first, int last) {
    for (int i = NextUntaken(std::max(first, 0)); i <= last; i = NextUntaken(i + 1)) FlushLine(i);
  }

  // An old line nobody matched: unused, or kept where it was when it holds a value that exists only
  // in the translated form (empty original, project mode).
  void FlushLine(int i) {
    vaq::TVaqNotesString record = StringToNotesString(old_[i], form_.NotesFile);
    const bool kept = !forceUnused_ && form_.ProjectMode && record.Orig.empty();
    if (!kept) {
      if (record.Localize) ++stats_.Unused;
      record.Modified = now_;
      record.Status = StatusObsolete;
      record.Order = OrderNotWritten;
      top_.push_back(NotesStringToString(record, false));
    } else {
      if (record.Localize) ++stats_.Unchanged;
      InsertKept(i);
    }
    Take(i);
  }

  // After the new line of the Id that preceded it in old notes, searched from the object's first
  // new line; at the very top when nothing preceded it; at the end when its predecessor is not there.
  void InsertKept(int i) {
    if (i == 0) {
      top_.push_back(old_[i]);
      return;
    }
    const std::string& previous = idKeys_[i - 1];
    for (std::size_t k = objectBegin_; k < body_.size(); ++k) {
      if (vaq::AnsiCaseKey(vaq::GetValueView(body_[k], KeyId)) == previous) {
        body_.insert(body_.begin() + static_cast<std::ptrdiff_t>(k) + 1, old_[i]);
        return;
      }
    }
    body_.push_back(old_[i]);
  }

  // Groups left after the last line belong to objects gone from the form.
  void FlushVanishedObjects() {
    for (int g = 0; g < static_cast<int>(groups_.size()); ++g) {
      if (groups_[g].Removed) continue;
      objectBegin_ = body_.size();
      FlushVanishedGroup(g);
    }
  }

  // Only an inherited component keeps the values added in the translated form: its ancestor may
  // bring it back. Those of any other vanished component would make the translated form create a
  // component that the original no longer has.
  void FlushVanishedGroup(int g) {
    forceUnused_ = !groups_[g].Inherited;
    MergeGroup(g, nullptr);
    forceUnused_ = false;
  }

  const TMergeForm& form_;
  TExtractedLines& lines_;
  vaq::TStats& stats_;
  const bool scan_;
  std::optional<std::vector<std::string>> givenOld_;
  TLocalizableRule& localizable_;
  bool useRepository_ = false;
  vaq::TDateTime now_ = 0.0;
  std::vector<TComponentRename> renames_;

  // Old notes and their indexes.
  std::vector<std::string> old_;  // a taken line may have been moved to the new notes
  std::vector<std::string> idKeys_;
  std::vector<bool> taken_;
  std::vector<int> next_;  // skip list over taken lines
  std::unordered_map<std::string_view, int> firstOfId_;
  std::vector<int> sameId_;  // the next line with the same Id, or -1
  Index byBracket_;
  std::vector<Group> groups_;
  std::unordered_map<std::string_view, IndexList> groupsByKey_;
  int cursor_ = 0;

  // Extracted lines, consumed from the front.
  std::size_t front_ = 0;
  std::vector<std::string> lineKeys_;
  std::vector<int> lineObject_;  // object number of each line
  std::unordered_map<std::string, int> objectNumber_;
  std::vector<IndexList> objectLines_;  // lines of each object, ascending

  // New notes: records inserted at the very top (latest first), then the rest in order.
  std::vector<std::string> top_, body_;
  std::size_t objectBegin_ = 0;  // first line of `body_` added for the current object
  bool structureChanged_ = false;
  bool forceUnused_ = false;
};

}  // namespace

std::vector<std::string> TNotesMerge::Merge(const TMergeForm& Form, TExtractedLines& Lines,
                                            vaq::TStats& Stats,
                                            std::optional<std::vector<std::string>> OldNotes,
                                            std::vector<TComponentRename>* Renames) const {
  try {
    Merger merger(Form, Lines, Stats, scan_, std::move(OldNotes), localizable_);
    merger.Merge();
    std::vector<std::string> notes = merger.TakeNewNotes();
    if (Renames != nullptr) *Renames = merger.TakeRenames();
    Lines.clear();
    return notes;
  } catch (...) {
    Lines.clear();
    throw;
  }
}

void AddMergedNotes(const TMergeForm& Form, std::vector<std::string> Notes, const std::string& FormFiles,
                    vaq::TAtomicWriteBatch& Batch) {
  TRuxMgr mgr;
  mgr.Lines = std::move(Notes);
  mgr.LoadFromStringList(&mgr.Lines, Form.XlatFormFile, Form.OrigFormFile);
  mgr.Stats.FormFiles = FormFiles;
  mgr.SaveTo(Batch, Form.ProjectMode, vaq::LCIDToStr(Form.SourceLocale, true),
             vaq::LCIDToStr(Form.TargetLocale, true), !Form.ProjectMode);
}

bool TNotesMerge::MergeNotes(const TMergeForm& Form, TExtractedLines& Lines, vaq::TStats& Stats,
                             std::vector<TComponentRename>* Renames) {
  std::vector<std::string> newNotes;
  try {
    newNotes = Merge(Form, Lines, Stats, std::nullopt, Renames);
  } catch (const std::exception& e) {
    if (!Form.Nested) {
      vaq::ShowError(vaq::Format(SProblemProcessingNotes.Text, {Form.NotesFile}) + "\n" + e.what());
    }
    return false;
  }
  try {
    std::string formFiles = Form.FormFiles;
    if (!Form.ProjectMode) {
      // A read-back keeps the list the notes header holds.
      vaq::TFileStats recorded;
      vaq::GetStats(Form.NotesFile, "/*", "*/", recorded);
      formFiles = std::move(recorded.FormFiles);
    }
    vaq::TAtomicWriteBatch files;
    AddMergedNotes(Form, std::move(newNotes), formFiles, files);
    files.Commit();
  } catch (const std::exception& e) {
    // Every file is replaced atomically, so the notes file holds either the old or the new notes.
    vaq::ShowError(e.what());
    return false;
  }
  return true;
}

}  // namespace rux
