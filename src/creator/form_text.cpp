// Form text from notes records.
//
// Records come in form order. Each names its component by the last segment of its Id; a change of
// component closes blocks ("end") down to the new component's level and opens its header. Below
// the component, a record is a plain property, an element of a string list, or a property of a
// collection item; lists and collections are rebuilt from the Open/Close tokens the reader recorded
// and, for collection items, from the item path in the Id compared with the previous record's.
#include "creator/form_text.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <utility>

#include "host/core/conversions.h"
#include "host/core/notes_header.h"
#include "host/core/notes_strings.h"
#include "host/core/streams.h"
#include "host/core/text.h"
#include "notes/column_table.h"
#include "notes/notes_record.h"
#include "notes/rux_mgr.h"

namespace rux {
namespace {

constexpr std::string_view kEol = "\r\n";
// Binary data is written in pieces of this many hexadecimal characters a line.
constexpr std::size_t kBinaryPiece = 160;

// The word that opens a component block, by the kind letter of its segment.
std::string_view HeaderWord(char kind) {
  switch (kind) {
    case 'O':
      return "object ";
    case 'I':
      return "inherited ";
    case 'L':
      return "inline ";
    default:
      return "";
  }
}

bool IsObsolete(const TNotesFields& fields) {
  if (fields[ColOrder] == "-1") return true;
  return vaq::StrToInt(fields[ColStatus]) % 256 == 3;
}

// One entry of a collection item path: a name and the item index (-1: a plain name).
struct PathEntry {
  std::string Name;
  int Index = -1;
};

int ParseIndex(std::string_view text) {
  int index = 0;
  std::from_chars(text.data(), text.data() + text.size(), index);
  return index;
}

bool SameEntry(const PathEntry& a, const PathEntry& b) {
  return a.Index == b.Index && vaq::AnsiCaseKey(a.Name) == vaq::AnsiCaseKey(b.Name);
}

// The name of a list property from the path of its first record: the path up to its first "["
// ("Data" of "Data[0].Caption").
std::string_view ListName(std::string_view path) {
  return path.substr(0, path.find('['));
}

int CountOf(std::string_view text, char c) {
  return static_cast<int>(std::ranges::count(text, c));
}

// A list of the component that holds lists or collections among its elements. The records give
// no distinct Ids to such elements, so this writer follows the Open/Close tokens instead: "(" and
// ")" a list, "<" and ">" a collection, "item" and "end" an item, "{" and "}" binary data; names
// are written only for the properties of items.
class NestedList {
 public:
  NestedList() = default;
  // `prefix`: the Id of the list property ("O:Form1.O:Grid1.Data").
  explicit NestedList(std::string prefix) : prefix_(std::move(prefix)) {}

  void Record(std::string_view id, std::string_view value, std::string_view open, std::string_view close,
              std::string& out) {
    bool named = false;  // the line's property name is written
    bool itemOpened = false;
    for (std::size_t at = 0; at < open.size();) {
      if (open.substr(at).starts_with("item")) {
        OpenItem(id, out);
        itemOpened = true;
        named = false;  // the item's first property still needs its name
        at += 4;
        continue;
      }
      const char token = open[at++];
      if (!named && InItem()) {
        ((out += ' ') += Name(id)) += " =";
        named = true;
      }
      (out += ' ') += token;
      if (token == '(' || token == '<') stack_.push_back({token, ChildPrefix(id, named)});
    }
    const bool binary = open.find('{') != std::string_view::npos;
    if (!binary && !stack_.empty() && stack_.back().Kind == '<' && !itemOpened && !value.empty()) {
      // The explicit index of the next item, or of an item without properties.
      pendingIndex_ = value;
      if (close.find("end") != std::string_view::npos) OpenItem(id, out);
    } else if (!value.empty() || binary) {
      if (!named && InItem()) ((out += ' ') += Name(id)) += " =";
      (out += ' ') += value;
    }
    for (std::size_t at = 0; at < close.size();) {
      const std::size_t length = close.substr(at).starts_with("end") ? 3 : 1;
      const std::string_view token = close.substr(at, length);
      at += length;
      (out += ' ') += token;
      if (token != "}" && !stack_.empty()) stack_.pop_back();
    }
    out += kEol;
  }

 private:
  struct Context {
    char Kind;  // '(' list, '<' collection, 'i' item
    std::string Prefix;
  };

  bool InItem() const { return !stack_.empty() && stack_.back().Kind == 'i'; }

  // The property of the current item that `id` names, without an index.
  std::string_view Name(std::string_view id) const {
    const std::string_view rest = id.substr(std::min(stack_.back().Prefix.size() + 1, id.size()));
    return rest.substr(0, rest.find('['));
  }

  // The Id prefix of a list or collection that opens here: a list element keeps the list's Id; a
  // property of an item adds its name to the item's.
  std::string ChildPrefix(std::string_view id, bool named) const {
    if (stack_.empty()) return prefix_;
    if (named && InItem()) return stack_.back().Prefix + "." + std::string(Name(id));
    return stack_.back().Prefix;
  }

  void OpenItem(std::string_view id, std::string& out) {
    out += " item";
    if (!pendingIndex_.empty()) ((out += " [") += pendingIndex_) += ']';
    pendingIndex_.clear();
    std::string prefix = stack_.empty() ? prefix_ : stack_.back().Prefix;
    const std::size_t close = id.find(']', prefix.size());
    if (close != std::string_view::npos) prefix = std::string(id.substr(0, close + 1));
    stack_.push_back({'i', std::move(prefix)});
  }

  std::string prefix_;
  std::vector<Context> stack_;
  std::string pendingIndex_;
};

// When the record at `index` opens a list of the component whose elements hold lists or
// collections, the index after that list's last record; else `index`. A list of plain values is
// left to the element writer.
std::size_t NestedListEnd(const std::vector<TNotesFields>& lines, std::size_t index, std::string_view path,
                          std::string_view open, std::string_view value) {
  if (!open.starts_with('(')) return index;
  // A list whose first element is an empty list: the reader gives that element the list's own Id
  // (no index), with the list's "(" and the value "()".
  const bool emptyFirst = value == "()" && path.find('[') == std::string_view::npos;
  // A list of the component: the first "[" ends the first run of plain names.
  const std::size_t bracket = path.find('[');
  if (!emptyFirst &&
      (bracket == std::string_view::npos || path.substr(0, bracket).find(']') != std::string_view::npos))
    return index;
  const bool nestedStart = emptyFirst || (open.size() > 1 && (open[1] == '(' || open[1] == '<'));
  // A plain element of a component's list ends the path with its only index; a record with more
  // after the index belongs to a collection item, unless it opens a list nested in the list.
  if (!nestedStart && path.find(']') + 1 != path.size()) return index;
  bool nested = nestedStart;
  int depth = 0;
  std::size_t i = index;
  for (; i < lines.size(); ++i) {
    const std::string_view lineOpen = lines[i][ColOpen];
    const std::string_view lineClose = lines[i][ColClose];
    if (i > index &&
        (lineOpen.find('(') != std::string_view::npos || lineOpen.find('<') != std::string_view::npos ||
         lines[i][ColType].starts_with("C:") || !lines[i].Id.ends_with(']'))) {
      // another opener, a collection, or an element that is an empty list or collection
      nested = true;
    }
    depth +=
        CountOf(lineOpen, '(') + CountOf(lineOpen, '<') - CountOf(lineClose, ')') - CountOf(lineClose, '>');
    if (depth <= 0) break;
  }
  return nested ? i + 1 : index;
}

class TextBuilder {
 public:
  explicit TextBuilder(bool writeOriginal) : writeOriginal_(writeOriginal) {}

  // The record `index` of `lines` (the records in form order, their fields read).
  void Add(const std::vector<TNotesFields>& lines, std::size_t index) {
    line_.clear();
    lines_ = &lines;
    index_ = index;
    Record(lines[index]);
    if (!line_.empty()) text_ += vaq::VaqToStr(line_);
  }

  std::string Finish() {
    for (int i = 0; i < openDepth_; ++i) (text_ += "end") += kEol;
    return std::move(text_);
  }

 private:
  void Record(const TNotesFields& fields) {
    previousNonCollection_ = currentNonCollection_;
    currentNonCollection_ = true;
    const std::string_view id = fields.Id;
    const int level = static_cast<int>(std::ranges::count(id, ':'));
    const std::size_t lastColon = id.rfind(':');
    const std::string_view segment =
        lastColon == std::string_view::npos ? id : id.substr(lastColon == 0 ? 0 : lastColon - 1);
    const std::size_t dot = segment.find('.');
    const std::string_view path =
        dot == std::string_view::npos ? std::string_view() : segment.substr(dot + 1);
    std::string_view component = segment.substr(0, dot);

    if (id.ends_with('.')) {
      const std::string_view word = HeaderWord(component.empty() ? '\0' : component[0]);
      component.remove_prefix(std::min<std::size_t>(2, component.size()));
      if (lastComponent_ != component) CloseBlocks(level);
      lastComponent_ = component;
      Header(word, component, fields[ColType]);
      openDepth_ = level;
      return;
    }

    const std::string_view value = fields[writeOriginal_ ? ColOrig : ColCurr];
    const std::string_view open = fields[ColOpen];
    const std::string_view close = fields[ColClose];
    // An empty value drops its property, so that the form's own value stays in force; but a record
    // that carries list, collection or binary tokens is always written, or the nesting would break.
    if (value.empty() && !path.ends_with(']') && open.empty() && close.empty()) return;
    if (lastComponent_ != component) CloseBlocks(level);
    lastComponent_ = component;
    const std::string_view type = fields[ColType];
    if (openDepth_ < level) {
      const std::string_view word = HeaderWord(component.empty() ? '\0' : component[0]);
      component.remove_prefix(std::min<std::size_t>(2, component.size()));
      Header(word, component, type);
      openDepth_ = level;
    }
    if (index_ < nestedEnd_) {
      nested_.Record(id, value, open, close, line_);
    } else if (const std::size_t end = NestedListEnd(*lines_, index_, path, open, value); end > index_) {
      nestedEnd_ = end;
      nested_ = NestedList(std::string(id.substr(0, id.size() - path.size())) + std::string(ListName(path)));
      (line_ += ListName(path)) += " =";
      nested_.Record(id, value, open, close, line_);
    } else if (path.find('[') == std::string_view::npos) {
      PlainProperty(path, value, open, close);
    } else if (type.find("C:") == std::string_view::npos) {
      ListElement(path, value, open, close);
    } else {
      CollectionItem(path, value, open, close);
    }
  }

  void CloseBlocks(int level) {
    if (openDepth_ >= level) {
      for (int i = openDepth_ - level + 1; i > 0; --i) (line_ += "end") += kEol;
      openDepth_ = -1;
    }
  }

  void Header(std::string_view word, std::string_view component, std::string_view type) {
    line_ += word;
    if (!component.starts_with('[')) {
      line_ += component;
      line_ += ": ";
      std::string bare(type);
      for (std::size_t at; (at = bare.find("C:")) != std::string::npos;) bare.erase(at, 2);
      line_ += bare;
    } else {
      const std::size_t bracket = component.find(']');
      line_ += component.substr(bracket == std::string_view::npos ? component.size() : bracket + 1);
    }
    line_ += kEol;
  }

  void PlainProperty(std::string_view path, std::string_view value, std::string_view open,
                     std::string_view close) {
    line_ += path;
    line_ += " = ";
    if (open != "{") {
      (((line_ += open) += ' ') += value) += ' ';
      (line_ += close) += kEol;
      return;
    }
    line_ += "{ ";
    for (std::size_t at = 0; at < value.size(); at += kBinaryPiece)
      (line_ += value.substr(at, kBinaryPiece)) += kEol;
    if (value.empty()) line_ += kEol;
    ((line_ += ' ') += close) += kEol;
  }

  void ListElement(std::string_view path, std::string_view value, std::string_view open,
                   std::string_view close) {
    const std::size_t first = path.find('[');
    const std::size_t last = path.find(']', first);
    const std::string_view index =
        path.substr(first, last == std::string_view::npos ? last : last - first + 1);
    if (index == "[0]") {
      line_ += path.substr(0, first);
      line_ += path.substr(first + index.size());
      line_ += " = ";
    }
    ((((line_ += open) += ' ') += value) += ' ') += close;
    line_ += kEol;
  }

  void CollectionItem(std::string_view path, std::string_view value, std::string_view open,
                      std::string_view close) {
    if (previousNonCollection_) {
      previousPath_.clear();
      havePreviousPath_ = false;
    }
    currentNonCollection_ = false;
    if (!inList_ && open.find('(') != std::string_view::npos) inList_ = true;

    // Segments with an index give an entry each; plain segments in a row form one name.
    std::vector<PathEntry> entries;
    bool lastJoined = false;
    bool previousPlain = false;
    for (std::size_t start = 0; start <= path.size();) {
      const std::size_t end = std::min(path.find('.', start), path.size());
      const std::string_view segment = path.substr(start, end - start);
      const std::size_t open = segment.find('['), shut = segment.find(']');
      lastJoined = false;
      if (open != std::string_view::npos && shut != std::string_view::npos) {
        const int index = ParseIndex(segment.substr(open + 1, shut - open - 1));
        if (previousPlain) {
          // A dotted name of a list or collection ("Header.Columns[0]"): one name with the index.
          (entries.back().Name += '.') += segment.substr(0, open);
          entries.back().Index = index;
        } else {
          entries.push_back({std::string(segment.substr(0, open)), index});
        }
        previousPlain = false;
      } else if (previousPlain) {
        (entries.back().Name += '.') += segment;
        lastJoined = true;
      } else {
        entries.push_back({std::string(segment), -1});
        previousPlain = true;
      }
      start = end + 1;
    }
    const std::size_t n = entries.size();
    std::string property;
    std::size_t itemLength = n;
    if (inList_ && n > 1 && entries[n - 2].Index == -1) {
      property = entries[n - 2].Name + "." + entries[n - 1].Name;
      itemLength = n - 2;
    } else if (entries[n - 1].Index == -1 || inList_) {
      property = entries[n - 1].Name;
      itemLength = n - 1;
    }
    entries.resize(itemLength);

    std::size_t j = 0;
    const std::size_t common = havePreviousPath_ ? std::min(entries.size(), previousPath_.size()) : 0;
    while (j < common && SameEntry(entries[j], previousPath_[j])) ++j;
    // A collection that opens here starts anew even where its path is the previous record's: an item
    // that holds the same collection property twice gives both the same Ids.
    if (open.find('<') != std::string_view::npos && !entries.empty()) j = std::min(j, entries.size() - 1);
    if (j < entries.size() && havePreviousPath_ && j < previousPath_.size() && entries[j].Index == -1 &&
        previousPath_[j].Index == -1 && entries[j].Name != previousPath_[j].Name) {
      ++j;
    }
    // A line of its own before an item's properties holds the item's explicit index: it opens the
    // collection if it is the first item, and the index goes behind the next "item".
    const bool indexLine = !inList_ && property.empty() && open.find("item") == std::string_view::npos &&
                           !value.empty() && !entries.empty();
    for (std::size_t k = j; k < entries.size(); ++k) {
      const bool last = k + 1 == entries.size();
      if (entries[k].Index == -1) {
        (line_ += ' ') += entries[k].Name;
      } else if (indexLine && last) {
        if (entries[k].Index == 0) ((line_ += ' ') += entries[k].Name) += "= <";
      } else {
        if (entries[k].Index == 0) {
          ((line_ += ' ') += entries[k].Name) += "= <item";
        } else {
          line_ += " item";
        }
        if (!pendingIndex_.empty()) ((line_ += " [") += pendingIndex_) += ']';
        pendingIndex_.clear();
        line_ += ' ';
      }
    }
    if (indexLine) {
      if (close.empty()) {
        pendingIndex_ = value;
      } else {  // an item without properties
        (((line_ += " item [") += value) += "] ") += close;
      }
      line_ += kEol;
      previousPath_ = std::move(entries);
      havePreviousPath_ = true;
      return;
    }

    if (inList_) {
      const std::string_view lastSegment =
          path.substr(path.rfind('.') == std::string_view::npos ? 0 : path.rfind('.') + 1);
      const bool firstElement =
          lastSegment.ends_with("[0]") || (lastSegment.find('[') == std::string_view::npos && lastJoined);
      if (firstElement) {
        ((((line_ += ' ') += property) += " = ") += open) += value;
      } else {
        (line_ += ' ') += value;
      }
      line_ += close;
    } else if (property.empty()) {
      line_ += close;
    } else {
      (line_ += property) += " = ";
      if (open.find('{') != std::string_view::npos) line_ += "{ ";  // binary data
      ((line_ += value) += ' ') += close;
    }
    line_ += kEol;

    previousPath_ = std::move(entries);
    havePreviousPath_ = true;
    if (inList_ && close.find(')') != std::string_view::npos) inList_ = false;
  }

  const bool writeOriginal_;
  const std::vector<TNotesFields>* lines_ = nullptr;
  std::size_t index_ = 0;
  std::size_t nestedEnd_ = 0;  // records before this index belong to the nested list being written
  NestedList nested_;
  std::string text_;
  std::string line_;  // the text of the current record
  int openDepth_ = 0;
  std::string lastComponent_;
  std::vector<PathEntry> previousPath_;
  bool havePreviousPath_ = false;
  bool inList_ = false;
  std::string pendingIndex_;  // explicit index of the next collection item
  bool currentNonCollection_ = false;
  bool previousNonCollection_ = false;
};

}  // namespace

std::optional<std::string> GenerateFormText(const std::vector<std::string>& Lines, bool WriteOriginal) {
  // The lines are read where they are, each once: as the manager's RemoveHeaderLines drops them,
  // up to two leading header lines and the blank lines go; obsolete records go; the others are
  // taken in the order the manager's sort gives them.
  std::size_t first = 0;
  for (int pass = 0; pass < 2; ++pass) {
    if (first < Lines.size() && vaq::IsNotesHeaderLine(Lines[first])) ++first;
  }
  std::vector<TNotesFields> records;
  std::vector<std::int32_t> orders;
  records.reserve(Lines.size() - first);
  for (std::size_t i = first; i < Lines.size(); ++i) {
    const std::string_view line = Lines[i];
    if (std::ranges::all_of(line, [](char c) { return static_cast<unsigned char>(c) <= ' '; })) continue;
    TNotesFields fields = ReadNotesFields(line);
    if (IsObsolete(fields)) continue;
    records.push_back(std::move(fields));
  }
  if (records.empty()) return std::nullopt;
  orders.reserve(records.size());
  for (const TNotesFields& record : records) orders.push_back(vaq::StrToInt(record[ColOrder]));
  std::vector<TNotesFields> sorted;
  sorted.reserve(records.size());
  for (const std::size_t index : TRuxMgr::OrderPermutation(std::move(orders)))
    sorted.push_back(records[index]);
  TextBuilder builder(WriteOriginal);
  for (std::size_t i = 0; i < sorted.size(); ++i) builder.Add(sorted, i);
  return builder.Finish();
}

}  // namespace rux
