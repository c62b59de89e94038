// Forms survive the round trip through their notes: a form is extracted into new notes (an update
// in project mode), its original values are written back into form text, and that text must give
// exactly the lines of the original form again, and (unless the original holds wide strings, which
// notes keep as 8-bit text) the identical binary form. Written with pseudo-translated current
// values, it must still convert and give the same Ids, structure and order.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "creator/form_text.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/framework/formstream.h"
#include "notes/rux_mgr.h"
#include "support/form_generator.h"
#include "support/temp_dir.h"
#include "updater/form_reader.h"
#include "updater/merge_notes.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

constexpr vaq::TLCID kEnglish = 0x0409;

class FormRoundTrip : public ::testing::Test {
 public:
  // The notes a first update makes of the form `text`.
  std::vector<std::string> NotesOf(const std::string& text) {
    const std::string form = dir_ / "F.rux";
    vaq::WriteFileAtomic(form, text);
    vaq::DeleteFile(dir_ / "F.ruz");
    TExtractedLines lines;
    EXPECT_TRUE(ExtractFormLines(form, lines, kEnglish));
    vaq::TStats stats;
    const TMergeForm merge{dir_ / "F.ruz", form, form, true, false, kEnglish, 0x0407, nullptr, {}};
    EXPECT_TRUE(TNotesMerge().MergeNotes(merge, lines, stats));
    return vaq::LoadLines(merge.NotesFile);
  }

 private:
  vaq::testing::TempDir dir_;
};

TExtractedLines Extract(const std::string& text) {
  vaq::TMemoryStream stream(text);
  TExtractedLines lines;
  EXPECT_TRUE(ExtractFormLines(stream, "written.rux", lines, kEnglish));
  return lines;
}

std::vector<std::string> Structure(const TExtractedLines& lines, bool withValues) {
  std::vector<std::string> result;
  for (const TExtractedLine& line : lines) {
    result.push_back(line.Id + " | " + line.Data.Type + " | " + line.Data.Open + " | " + line.Data.Close +
                     (withValues ? " | " + line.Data.Value : ""));
  }
  return result;
}

// The binary form of the text, or the parser's message.
std::string Binary(const std::string& text) {
  vaq::TMemoryStream in(text), out;
  try {
    vaq::ObjectTextToBinary(in, out);
  } catch (const std::exception& e) {
    return e.what();
  }
  return out.Data();
}

void ExpectRoundTrip(FormRoundTrip& test, const std::string& text, bool compareBinary) {
  const std::vector<std::string> notes = test.NotesOf(text);
  const std::optional<std::string> written = GenerateFormText(notes, true);
  ASSERT_TRUE(written.has_value());
  const TExtractedLines original = Extract(text);
  ASSERT_EQ(Structure(Extract(*written), true), Structure(original, true)) << Binary(*written) << "\n"
                                                                           << *written;
  if (compareBinary) {
    EXPECT_EQ(Binary(*written), Binary(text)) << *written;
  }

  TRuxMgr pseudo;
  pseudo.Lines = notes;
  TRuxMgr::RemoveHeaderLines(pseudo.Lines);
  pseudo.EggBuild();
  const std::optional<std::string> translated = GenerateFormText(pseudo.Lines, false);
  ASSERT_TRUE(translated.has_value());
  EXPECT_EQ(Structure(Extract(*translated), false), Structure(original, false)) << *translated;
}

TEST_F(FormRoundTrip, GeneratedForms) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  int compared = 0;
  for (std::uint64_t seed = 1; seed <= 300; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    vaq::testing::FormOptions options;
    options.Seed = seed;
    options.TargetBytes = 500 + (seed * 7919) % 20000;
    const vaq::testing::GeneratedForm form = vaq::testing::GenerateForm(options);
    const bool wide = form.Kinds[static_cast<std::size_t>(vaq::TValueType::vaWString)] +
                          form.Kinds[static_cast<std::size_t>(vaq::TValueType::vaUTF8String)] >
                      0;
    ExpectRoundTrip(*this, form.Text, !wide);
    compared += wide ? 0 : 1;
  }
  EXPECT_GT(compared, 30) << "too few forms without wide strings to compare binary forms";
}

// A few large forms, with deep nesting and long lists.
TEST_F(FormRoundTrip, LargeForms) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  for (std::uint64_t seed : {7, 11, 13}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    ExpectRoundTrip(*this, vaq::testing::GenerateFormText(seed, 400'000), false);
  }
}

// Shapes whose records share Ids, so that only the structure tokens tell where a value begins: a
// list whose first element is an empty list (that element takes the list's own Id), and an item
// that holds the same collection twice, the second starting with an item of its own or with an
// explicit index.
TEST_F(FormRoundTrip, ValuesThatShareTheirIds) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  const std::string head = "object Form1: TForm1\r\n  object Grid1: TTreeGrid\r\n";
  const std::string tail = "  end\r\nend\r\n";
  for (const char* value : {
           "    Data = (\r\n      ()\r\n      1\r\n      (\r\n        2)\r\n      3)\r\n",
           "    Data = (\r\n      ()\r\n      ())\r\n",
           "    Header.Columns = <\r\n      item\r\n        Caption = 'A'\r\n        Columns = <\r\n"
           "          item\r\n            Caption = 'B'\r\n          end>\r\n        Columns = <\r\n"
           "          item\r\n            Caption = 'C'\r\n          end\r\n          item\r\n"
           "            Caption = 'D'\r\n          end>\r\n      end>\r\n",
           "    Header.Columns = <\r\n      item\r\n        Columns = <\r\n          item\r\n"
           "            Caption = 'B'\r\n          end>\r\n        Columns = <\r\n          item [0]\r\n"
           "            Caption = 'C'\r\n          end>\r\n      end>\r\n",
       }) {
    SCOPED_TRACE(value);
    ExpectRoundTrip(*this, head + value + tail, true);
  }
}

TEST_F(FormRoundTrip, DemoForms) {
  for (const auto& entry :
       fs::directory_iterator(fs::path(VAQ_TESTS_SOURCE_DIR) / ".." / "examples" / "demo")) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".rux" && ext != ".gox") continue;
    SCOPED_TRACE(entry.path().string());
    ExpectRoundTrip(*this, vaq::ReadFileBytes(entry.path().string()), true);
  }
}

}  // namespace
}  // namespace rux
