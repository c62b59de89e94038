// How many of the texts a translator translates the preview shows: for each component the live
// tree shows, the string values of its displayed properties (captions, texts, the strings of
// items, lines and tabs, the captions of columns, panels, sections and titles) that its line of
// `vaq preview --tree` holds.
#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/values/string_notation.h"
#include "notes/component_path.h"
#include "updater/form_reader.h"
#include "viewer/preview.h"
#include "viewer/viewer.h"

namespace rux::testing {

struct TVisibleTexts {
  int Shown = 0;
  int Total = 0;
  std::vector<std::string> Missing;  // "file: Id = text"

  TVisibleTexts& operator+=(const TVisibleTexts& Other) {
    Shown += Other.Shown;
    Total += Other.Total;
    Missing.insert(Missing.end(), Other.Missing.begin(), Other.Missing.end());
    return *this;
  }
  double Percent() const { return Total ? 100.0 * Shown / Total : 100.0; }
};

inline std::string Lower(std::string Text) {
  for (char& c : Text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return Text;
}

// Whether a property path ("Caption", "Items.Strings[2]", "Columns[0].Title.Caption") holds text
// the form shows.
inline bool IsDisplayedProperty(const std::string& Path) {
  const std::string path = Lower(Path);
  for (const char* plain : {"caption", "text", "simpletext", "editlabel.caption"})
    if (path == plain) return true;
  // The strings of a list: items, lines, tabs, pages, sections, title captions.
  for (const char* list : {"items.strings[", "lines.strings[", "tabs.strings[", "pages.strings[",
                           "sections.strings[", "titlecaptions.strings[", "strings.strings["})
    if (path.starts_with(list)) return true;
  // A caption or text of a collection item: columns, panels, sections, bands, items, titles.
  const std::size_t close = path.rfind(']');
  if (close == std::string::npos) return false;
  const std::string tail = path.substr(close + 1);
  return tail == ".caption" || tail == ".text" || tail == ".title.caption";
}

// The form file previewed without notes, its tree compared with its extracted values.
inline TVisibleTexts MeasureVisibleTexts(const std::string& FormFile, vaq::TLCID Locale = 0x0409) {
  TVisibleTexts result;
  TPreviewRequest request;
  request.File = FormFile;
  request.Side = TPreviewSide::Original;
  request.Tree = true;
  std::ostringstream out, err;
  const int code = RunPreviewRequest(request, out, err);
  ReleaseRuxViewer();
  if (code != 0) {
    result.Missing.push_back(FormFile + ": " + err.str());
    return result;
  }
  // Path -> the texts of the shown component.
  std::map<std::string, std::string> shown;
  std::istringstream tree(out.str());
  for (std::string line; std::getline(tree, line);) {
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
      const std::size_t tab = line.find('\t', start);
      fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    if (fields.size() >= 5 && fields[2] == "shown") shown[Lower(fields[0])] = fields[4];
  }
  TExtractedLines all;
  if (!ExtractFormLines(FormFile, all, Locale)) return result;
  // A property set twice shows its last value, as in the frameworks.
  std::map<std::string, std::size_t> last;
  for (std::size_t i = 0; i < all.size(); ++i) last[Lower(all[i].Id)] = i;
  std::vector<TExtractedLine> lines;
  for (std::size_t i = 0; i < all.size(); ++i)
    if (last[Lower(all[i].Id)] == i) lines.push_back(all[i]);
  for (const TExtractedLine& line : lines) {
    const std::string_view component = FullObjectNameView(line.Id);
    if (component.size() < 2 || !component.ends_with('.')) continue;
    const std::string property = line.Id.substr(component.size());
    if (!IsDisplayedProperty(property)) continue;
    const auto it = shown.find(Lower(std::string(component.substr(0, component.size() - 1))));
    if (it == shown.end()) continue;  // a component the form does not show
    std::optional<std::string> text = vaq::values::DecodeStringUtf8(line.Data.Value, Locale);
    if (!text || text->empty()) continue;
    // The tree writes line breaks and tabs as "\n" and "\t".
    std::string escaped;
    for (char c : *text) {
      if (c == '\n')
        escaped += "\\n";
      else if (c == '\t')
        escaped += "\\t";
      else if (c != '\r')
        escaped += c;
    }
    ++result.Total;
    if (it->second.find(escaped) != std::string::npos)
      ++result.Shown;
    else
      result.Missing.push_back(FormFile + ": " + line.Id + " = " + escaped);
  }
  return result;
}

}  // namespace rux::testing
