// vaq search: find a text in the records of notes files.
#include <cstdio>

#include "command.h"
#include "host/core/locale.h"
#include "host/core/notes_strings.h"
#include "host/core/search.h"
#include "host/core/text.h"
#include "host/core/translator_mgr.h"
#include "notes/column_table.h"
#include "notes/file_services.h"
#include "notes_files.h"

namespace vaq::app {
namespace {

// Short names a user may give in --columns, besides the captions themselves.
struct ColumnName {
  const char* Short;
  TVaqAllColId Id;
};
constexpr ColumnName kColumnNames[] = {
    {"Id", rux::ColId},
    {"Orig", rux::ColOrig},
    {"Status", rux::ColStatus},
    {"Curr", rux::ColCurr},
    {"Created", rux::ColCreated},
    {"Modified", rux::ColModified},
    {"PrevOrig", rux::ColPrevOrig},
    {"PrevCurr", rux::ColPrevCurr},
    {"Comment", rux::ColComment},
};

TVaqAllColId ColumnOf(std::string_view name) {
  for (const ColumnName& column : kColumnNames) {
    if (AnsiSameText(name, column.Short) || AnsiSameText(name, rux::VaqColInfo[column.Id].Caption)) {
      return column.Id;
    }
  }
  throw UsageError("unknown column " + std::string(name) +
                   " (Id, Orig, Status, Curr, Created, Modified, "
                   "PrevOrig, PrevCurr, Comment)");
}

// The search window's check-list: every column caption, checked when --columns names it.
std::vector<TCheckListEntry> CheckList(const std::string& columns) {
  std::vector<bool> checked(rux::ColumnCount, false);
  std::size_t start = 0;
  while (start < columns.size()) {
    const std::size_t comma = std::min(columns.find(',', start), columns.size());
    if (comma > start) checked[ColumnOf(std::string_view(columns).substr(start, comma - start))] = true;
    start = comma + 1;
  }
  std::vector<TCheckListEntry> list;
  for (TVaqAllColId id = rux::ColId; id <= rux::LastGridColId; ++id) {
    list.push_back({rux::VaqColInfo[id].Caption, checked[id]});
  }
  return list;
}

}  // namespace

int RunSearch(const Arguments& args) {
  // The text is given in UTF-8; records hold 8-bit text, so it is searched in the code page of the
  // thread locale.
  const TLCID locale = VaqGetThreadLocale();
  const std::string text = Utf8ToString(locale, args.Positional[0]);
  const std::vector<TCheckListEntry> columns = CheckList(args.Value("--columns"));
  const std::vector<std::string> files(args.Positional.begin() + 1, args.Positional.end());
  int hits = 0;
  const int status = ForEachFile("search", files, [&](const std::string& form) {
    TSearchInfo info;
    info.Locale = locale;
    info.FileName = form;
    info.Columns = columns;
    rux::SearchFile(
        info, text, args.Has("--case-sensitive"), args.Has("--whole-word"), args.Has("--ignore-accelerators"),
        [&](TVaqTranslatorMgr& mgr, const std::string&, const std::string& found, const std::string&,
            int column, int index, int row, int position, TLCID source, TLCID target, bool&) {
          const TLCID shown = column == rux::ColOrig || column == rux::ColPrevOrig   ? source
                              : column == rux::ColCurr || column == rux::ColPrevCurr ? target
                                                                                     : locale;
          ++hits;
          std::printf("%s\t%d\t%s\t%d\t%s\t%s\n", form.c_str(), row,
                      rux::VaqColInfo[static_cast<std::size_t>(column)].Caption.c_str(), position,
                      StringToUtf8(locale, GetValueView(mgr.GetStrings(index), rux::KeyId)).c_str(),
                      StringToUtf8(shown, found).c_str());
        });
  });
  std::fprintf(stderr, "%d hits\n", hits);
  return status;
}

}  // namespace vaq::app
