// Repair of the list and collection tokens of one object's notes lines after a merge moved,
// added or dropped some of its records.
#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/core/notes_strings.h"
#include "host/core/text.h"
#include "notes/column_table.h"
#include "updater/merge_notes.h"

namespace rux {
namespace {

using Token = std::pair<std::size_t, std::string_view>;  // line index, token text

std::string_view IdAfterPath(std::string_view line, std::string_view objectPath) {
  const std::string_view id = vaq::GetValueView(line, KeyId);
  return id.substr(std::min(objectPath.size(), id.size()));
}

// The text before the last `c`; empty when there is none.
std::string_view CutBeforeLast(std::string_view s, char c) {
  const std::size_t p = s.rfind(c);
  return p == std::string_view::npos ? std::string_view() : s.substr(0, p);
}

void SetIfDiffers(std::string& line, std::string_view key, std::string_view value) {
  if (vaq::GetValueView(line, key) != value) line = vaq::SetValue(line, key, value);
}

// The end of the run that starts at `first`: the following lines whose Id (after the object path,
// cut before the last `c`) is the same as the first line's.
std::size_t RunEnd(const std::vector<std::string>& lines, std::size_t first, std::string_view objectPath,
                   char c) {
  const std::string name(CutBeforeLast(IdAfterPath(lines[first], objectPath), c));
  std::size_t end = first + 1;
  while (end < lines.size() && vaq::AnsiSameText(CutBeforeLast(IdAfterPath(lines[end], objectPath), c), name))
    ++end;
  return end;
}

// Splits structure tokens: `word` and single characters.
std::vector<std::string_view> SplitTokens(std::string_view text, std::string_view word) {
  std::vector<std::string_view> tokens;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = text.substr(pos).starts_with(word) ? word.size() : 1;
    tokens.push_back(text.substr(pos, length));
    pos += length;
  }
  return tokens;
}

// One collection item: the opening tokens are gathered front to back ("item" and "<" once), the
// closing ones back to front ("end" and ">" once, from the latest line that has them); list
// brackets without a partner are dropped, the latest first; then every line gets its own tokens
// back in reading order.
void RepairItem(std::vector<std::string>& lines, std::size_t first, std::size_t end) {
  // Views into copies of the old values, which stay alive until the lines are rewritten.
  std::vector<std::string> opens, closes;
  for (std::size_t k = first; k < end; ++k) {
    opens.push_back(vaq::GetValue(lines[k], KeyOpen));
    closes.push_back(vaq::GetValue(lines[k], KeyClose));
  }
  std::vector<Token> openTokens;
  bool haveItem = false, haveLess = false;
  for (std::size_t k = first; k < end; ++k) {
    for (const std::string_view token : SplitTokens(opens[k - first], "item")) {
      bool& once = token == "item" ? haveItem : haveLess;
      if (token == "item" || token == "<") {
        if (once) continue;
        once = true;
      }
      openTokens.emplace_back(k, token);
    }
  }
  std::vector<Token> closeTokens;  // back to front: the last token of the run comes first
  bool haveEnd = false, haveGreater = false;
  for (std::size_t k = end; k-- > first;) {
    const std::vector<std::string_view> tokens = SplitTokens(closes[k - first], "end");
    for (auto it = tokens.rbegin(); it != tokens.rend(); ++it) {
      bool& once = *it == "end" ? haveEnd : haveGreater;
      if (*it == "end" || *it == ">") {
        if (once) continue;
        once = true;
      }
      closeTokens.emplace_back(k, *it);
    }
  }
  const auto count = [](const std::vector<Token>& tokens, std::string_view what) {
    return std::ranges::count_if(tokens, [&](const Token& t) { return t.second == what; });
  };
  auto surplus = count(openTokens, "(") - count(closeTokens, ")");
  for (auto it = openTokens.end(); surplus > 0 && it != openTokens.begin();) {
    --it;
    if (it->second == "(") {
      it = openTokens.erase(it);
      --surplus;
    }
  }
  for (auto it = closeTokens.begin(); surplus < 0 && it != closeTokens.end();) {
    if (it->second == ")") {
      it = closeTokens.erase(it);
      ++surplus;
    } else {
      ++it;
    }
  }
  std::vector<std::string> newOpens(end - first), newCloses(end - first);
  for (const auto& [k, token] : openTokens) newOpens[k - first] += token;
  for (auto it = closeTokens.rbegin(); it != closeTokens.rend(); ++it)
    newCloses[it->first - first] += it->second;
  for (std::size_t k = first; k < end; ++k) {
    SetIfDiffers(lines[k], KeyOpen, newOpens[k - first]);
    SetIfDiffers(lines[k], KeyClose, newCloses[k - first]);
  }
}

}  // namespace

void RepairStructureTokens(std::vector<std::string>& Lines, std::size_t Begin, std::string_view ObjectPath) {
  for (std::size_t i = Begin; i < Lines.size();) {
    const std::string_view open = vaq::GetValueView(Lines[i], KeyOpen);
    if (open == "(") {
      // A list: the first element opens it, the last closes it.
      const std::size_t end = RunEnd(Lines, i, ObjectPath, '[');
      for (std::size_t k = i; k < end; ++k) {
        if (k > i) SetIfDiffers(Lines[k], KeyOpen, "");
        if (k + 1 < end) SetIfDiffers(Lines[k], KeyClose, "");
      }
      i = end;
    } else if (open.starts_with("<") || open == "item") {
      const std::size_t end = RunEnd(Lines, i, ObjectPath, ']');
      RepairItem(Lines, i, end);
      i = end;
    } else {
      ++i;
    }
  }
}

}  // namespace rux
