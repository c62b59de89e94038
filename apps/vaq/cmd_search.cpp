// vaq search: find a text in the records of notes files, through their file type's search and its
// column table.
#include <algorithm>
#include <cstdio>
#include <string_view>

#include "command.h"
#include "host/core/locale.h"
#include "host/core/notes_strings.h"
#include "host/core/registration.h"
#include "host/core/search.h"
#include "host/core/terminal.h"
#include "host/core/text.h"
#include "host/core/translator_mgr.h"
#include "notes_files.h"

namespace vaq::app {
namespace {

// The short name of a column: its key without the field separator and the colon ("\x04Orig:" ->
// "Orig"); the user may give it or the caption.
std::string_view ShortName(const TColInfo& column) {
  std::string_view key = column.Key;
  while (!key.empty() && static_cast<unsigned char>(key.front()) < ' ') key.remove_prefix(1);
  if (!key.empty() && key.back() == ':') key.remove_suffix(1);
  return key;
}

// The searchable columns of a file type: grid columns with a key of their own.
bool Searchable(const TColInfo& column) {
  return column.IsColumn != 0 && !column.Key.empty();
}

// The row of the column table whose short name is `name`; -1 when none is.
int ColumnRow(const TVaqFileType& type, std::string_view name) {
  for (std::size_t row = 0; row < type.ColInfo.size(); ++row) {
    if (AnsiSameText(ShortName(type.ColInfo[row]), name)) return static_cast<int>(row);
  }
  return -1;
}

// The search window's check-list: every column caption, checked when --columns names it.
std::vector<TCheckListEntry> CheckList(const TVaqFileType& type, const std::string& columns) {
  std::vector<bool> checked(type.ColInfo.size(), false);
  std::size_t start = 0;
  while (start < columns.size()) {
    const std::size_t comma = std::min(columns.find(',', start), columns.size());
    const std::string_view name = std::string_view(columns).substr(start, comma - start);
    if (!name.empty()) {
      bool known = false;
      for (std::size_t row = 0; row < type.ColInfo.size(); ++row) {
        const TColInfo& column = type.ColInfo[row];
        if (!Searchable(column)) continue;
        if (AnsiSameText(name, ShortName(column)) || AnsiSameText(name, column.Caption)) {
          checked[row] = known = true;
          break;
        }
      }
      if (!known) {
        std::string names;
        for (const TColInfo& column : type.ColInfo) {
          if (!Searchable(column)) continue;
          std::string shown(ShortName(column));  // "ID" is shown as "Id", like the other names
          if (shown.size() > 1) shown = shown.front() + AnsiLowerCase(shown.substr(1));
          names += (names.empty() ? "" : ", ") + shown;
        }
        throw UsageError("unknown column " + std::string(name) + " (" + names + ")");
      }
    }
    start = comma + 1;
  }
  std::vector<TCheckListEntry> list;
  for (std::size_t row = 0; row < type.ColInfo.size(); ++row) {
    if (Searchable(type.ColInfo[row])) list.push_back({type.ColInfo[row].Caption, checked[row]});
  }
  return list;
}

}  // namespace

int RunSearch(const Arguments& args) {
  // The text is typed in the terminal's character set; as UTF-8 (the 8-bit text of locale 0) it is
  // encoded into the code page of each column searched. Texts of no language (Ids, comments) are
  // read in the thread locale's code page.
  const TLCID locale = VaqGetThreadLocale();
  const std::string text = FromTerminal(args.Positional[0]);
  const std::vector<std::string> files(args.Positional.begin() + 1, args.Positional.end());
  int hits = 0;
  const int status = ForEachFile("search", files, [&](const std::string& form, TVaqFileType& type) {
    const int idRow = ColumnRow(type, "ID");
    const int origRows[] = {ColumnRow(type, "Orig"), ColumnRow(type, "PrevOrig")};
    const int currRows[] = {ColumnRow(type, "Curr"), ColumnRow(type, "PrevCurr")};
    TSearchInfo info;
    info.Locale = 0;
    info.FileName = form;
    info.Columns = CheckList(type, args.Value("--columns"));
    type.SearchFile(
        info, text, args.Has("--case-sensitive"), args.Has("--whole-word"), args.Has("--ignore-accelerators"),
        [&](TVaqTranslatorMgr& mgr, const std::string&, const std::string& found, const std::string&,
            int column, int index, int row, int position, TLCID source, TLCID target, bool&) {
          const bool orig = column == origRows[0] || column == origRows[1];
          const bool curr = column == currRows[0] || column == currRows[1];
          const TLCID shown = orig ? source : curr ? target : locale;
          const std::string id =
              idRow < 0 ? std::string()
                        : std::string(GetValueView(mgr.GetStrings(index),
                                                   type.ColInfo[static_cast<std::size_t>(idRow)].Key));
          ++hits;
          std::printf("%s\t%d\t%s\t%d\t%s\t%s\n", form.c_str(), row,
                      type.ColInfo.at(static_cast<std::size_t>(column)).Caption.c_str(), position,
                      ToTerminal(source, id).c_str(), ToTerminal(shown, found).c_str());
        });
  });
  std::fprintf(stderr, "%d hits\n", hits);
  return status;
}

}  // namespace vaq::app
