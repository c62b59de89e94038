// The merge's indexes against scanning: generated forms, translated and then changed in many ways
// at once (values changed, values and whole components gone, components moved to the end, new
// values, Ids in other letter case), merged once through the indexes and once by scanning old
// notes in file order. Both must write the same notes and count the same; and no translation may
// get lost on the way.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/notes_strings.h"
#include "host/core/text.h"
#include "notes/column_table.h"
#include "notes/component_path.h"
#include "notes/notes_record.h"
#include "support/form_generator.h"
#include "support/temp_dir.h"
#include "updater/form_reader.h"
#include "updater/merge_notes.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

class MergeSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = {dir_ / "F.ruz", dir_ / "F.rux", {}, true, false, 0x0409, 0x0407, nullptr, {}};
    vaq::WriteFileAtomic(form_.XlatFormFile, "");
    vaq::SetVaqClock([] { return 46357.5; });
  }
  void TearDown() override { vaq::SetVaqClock({}); }

  // Merges `lines` into the notes `before` (empty: none yet); the notes written and the counters.
  std::pair<std::string, vaq::TStats> Merge(const std::string& before, TExtractedLines lines, bool scan,
                                            bool projectMode = true) {
    if (before.empty()) {
      vaq::DeleteFile(form_.NotesFile);
    } else {
      vaq::WriteFileAtomic(form_.NotesFile, before);
    }
    TMergeForm form = form_;
    form.ProjectMode = projectMode;
    TNotesMerge merge;
    merge.SetScanning(scan);
    vaq::TStats stats;
    EXPECT_TRUE(merge.MergeNotes(form, lines, stats));
    return {vaq::ReadFileBytes(form_.NotesFile), stats};
  }

  vaq::testing::TempDir dir_;
  TMergeForm form_;
};

std::size_t Hash(std::string_view text) {
  return std::hash<std::string_view>()(vaq::AnsiCaseKey(text));
}

// Every third translatable record is translated.
std::string Translate(const std::string& notes) {
  std::vector<std::string> lines = vaq::SplitLines(notes);
  for (std::size_t i = 0; i < lines.size(); i += 3) {
    if (!lines[i].starts_with("/* ")) continue;
    lines[i] = vaq::SetValue(lines[i], KeyCurr, "'T" + std::to_string(i) + "'");
    lines[i] = vaq::SetValue(lines[i], KeyStatus, "1");
  }
  std::string result;
  for (const std::string& line : lines) result += line + "\r\n";
  return result;
}

TExtractedLines Change(const TExtractedLines& lines, std::uint64_t seed) {
  TExtractedLines kept, moved;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    TExtractedLine line = lines[i];
    const std::size_t object = Hash(FullObjectNameView(line.Id)) + seed;
    if (object % 13 == 0 || (i + seed) % 23 == 5) continue;  // gone
    if ((i + seed) % 11 == 2) line.Data.Value += "x";
    if (object % 19 == 2) line.Id = vaq::AnsiUpperCase(line.Id);
    TExtractedLines& target = object % 17 == 1 ? moved : kept;
    target.push_back(line);
    if ((i + seed) % 29 == 3) {
      line.Id += "New";
      target.push_back(line);
    }
  }
  kept.insert(kept.end(), moved.begin(), moved.end());
  return kept;
}

// A translated record whose value is still in the form, unchanged, keeps its translation in the
// record in use for its Id. Generated forms may repeat a property inside one component, which no
// real form does; the records of such components are left out.
void ExpectNoTranslationLost(const std::string& before, const TExtractedLines& form,
                             const std::string& after) {
  std::map<std::string, std::string> values, translations;
  std::map<std::string, int> count;
  std::set<std::string> repeating;  // objects with a repeated Id
  const auto seen = [&](std::string_view id) {
    if (++count[vaq::AnsiCaseKey(id)] == 2) repeating.insert(vaq::AnsiCaseKey(FullObjectNameView(id)));
  };
  for (const TExtractedLine& line : form) {
    values[vaq::AnsiCaseKey(line.Id)] = line.Data.Value;
    seen(line.Id);
  }
  count.clear();
  for (const std::string& line : vaq::SplitLines(before)) seen(vaq::GetValueView(line, KeyId));
  for (const std::string& line : vaq::SplitLines(after)) {
    if (vaq::GetValueView(line, KeyOrder) == "-1") continue;
    translations[vaq::AnsiCaseKey(vaq::GetValueView(line, KeyId))] = vaq::GetValue(line, KeyCurr);
  }
  for (const std::string& line : vaq::SplitLines(before)) {
    if (vaq::GetValueView(line, KeyStatus) != "1") continue;
    const std::string_view id = vaq::GetValueView(line, KeyId);
    if (repeating.contains(vaq::AnsiCaseKey(FullObjectNameView(id)))) continue;
    const auto value = values.find(vaq::AnsiCaseKey(id));
    if (value == values.end() || value->second != vaq::GetValue(line, KeyOrig)) continue;
    EXPECT_EQ(translations[vaq::AnsiCaseKey(id)], vaq::GetValue(line, KeyCurr))
        << "translation lost: " << line;
  }
}

TEST_F(MergeSearch, IndexesFindWhatScanningFinds) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  for (std::uint64_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    vaq::TMemoryStream stream(vaq::testing::GenerateFormText(seed, 6000));
    TExtractedLines lines;
    ASSERT_TRUE(ExtractFormLines(stream, "F.rux", lines, 0x0409));
    const std::string first = Translate(Merge("", lines, false).first);
    const TExtractedLines changed = Change(lines, seed);
    const auto [indexed, indexedStats] = Merge(first, changed, false);
    const auto [scanned, scannedStats] = Merge(first, changed, true);
    ASSERT_EQ(indexed, scanned);
    EXPECT_EQ(
        (std::vector{indexedStats.New, indexedStats.Changed, indexedStats.Unchanged, indexedStats.Unused}),
        (std::vector{scannedStats.New, scannedStats.Changed, scannedStats.Unchanged, scannedStats.Unused}));
    ExpectNoTranslationLost(first, changed, indexed);
    // A translated form read back: the same in single-file mode.
    ASSERT_EQ(Merge(first, changed, false, false).first, Merge(first, changed, true, false).first);
  }
}

}  // namespace
}  // namespace rux

namespace rux {
namespace {

// Notes edited by hand and odd forms: records out of order, Ids in other letter case, repeated Ids,
// stray unused records, structure tokens anywhere. The merge succeeds or reports, never crashes,
// and the indexes still find what scanning finds.
TEST_F(MergeSearch, OddNotesAndLines) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  const char* const ids[] = {"O:F.Caption",  "O:F.O:B.Caption", "o:f.o:b.caption", "O:F.L.S[0]",
                             "O:F.L.S[1]",   "O:F.C[0].P",      "O:F.C[1].P",      "O:F.C[0].Q[0]",
                             "I:F.I:X.Hint", "O:F.O:B."};
  const char* const tokens[] = {"", "(", ")", "<item", "item", "end", "end>", "{", "}"};
  const char* const orders[] = {"0", "1", "-1", "5", "2"};
  std::uint32_t state = 987;
  const auto next = [&state](std::size_t n) {
    state = state * 1103515245 + 12345;
    return static_cast<std::size_t>((state >> 8) % n);
  };
  for (int run = 0; run < 200; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    std::string notes;
    for (int i = 0, count = static_cast<int>(next(10)); i < count; ++i) {
      vaq::TVaqNotesString record;
      record.Id = ids[next(std::size(ids))];
      record.Orig = next(3) == 0 ? "" : "'o" + std::to_string(next(3)) + "'";
      record.Curr = "'c'";
      record.Status = static_cast<std::uint8_t>(next(4));
      record.Open = tokens[next(std::size(tokens))];
      record.Close = tokens[next(std::size(tokens))];
      record.Localize = next(2) == 0;
      std::string line = NotesStringToString(record, false);
      line = vaq::SetValue(line, KeyOrder, orders[next(std::size(orders))]);
      notes += line + "\r\n";
    }
    TExtractedLines lines;
    for (int i = 0, count = 1 + static_cast<int>(next(10)); i < count; ++i) {
      TExtractedLine line;
      line.Id = ids[next(std::size(ids))];
      line.Data.Value = "'o" + std::to_string(next(3)) + "'";
      line.Data.Open = tokens[next(std::size(tokens))];
      line.Data.Close = tokens[next(std::size(tokens))];
      line.Data.Type = next(2) == 0 ? "TF" : "C:TF";
      lines.push_back(line);
    }
    const auto [indexed, indexedStats] = Merge(notes, lines, false);
    const auto [scanned, scannedStats] = Merge(notes, lines, true);
    ASSERT_EQ(indexed, scanned);
  }
}

}  // namespace
}  // namespace rux
