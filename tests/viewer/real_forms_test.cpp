// Real forms of open-source projects (fetched by scripts/real_forms.sh into build/real-forms, or
// the folder $VAQ_REAL_FORMS): each previews from the form itself, with a tree and a picture, and
// the texts a translator translates are visible. Skipped when the forms are not there. The same
// measurement of visible texts runs always on the demo and on generated forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/form_generator.h"
#include "support/temp_dir.h"
#include "viewer/preview.h"
#include "viewer/viewer.h"
#include "visible_texts.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

fs::path RealFormsFolder() {
  const char* env = std::getenv("VAQ_REAL_FORMS");
  return env ? fs::path(env) : fs::path(VAQ_TESTS_SOURCE_DIR) / ".." / "build" / "real-forms";
}

// The figure, and the first texts not shown, for looking into them.
void Report(const char* What, const testing::TVisibleTexts& Texts) {
  std::printf("%s: %d of %d texts visible (%.2f%%)\n", What, Texts.Shown, Texts.Total, Texts.Percent());
  const std::size_t listed = std::getenv("VAQ_LIST_HIDDEN_TEXTS") ? Texts.Missing.size() : 20;
  for (std::size_t i = 0; i < Texts.Missing.size() && i < listed; ++i)
    std::printf("  not shown: %s\n", Texts.Missing[i].c_str());
}

TEST(RealForms, EachPreviewsWithoutAnError) {
  const fs::path dir = RealFormsFolder();
  if (!fs::is_directory(dir))
    GTEST_SKIP() << "no real forms in " << dir << " (scripts/real_forms.sh fetches them)";
  vaq::testing::TempDir config(vaq::testing::TempDir::kConfig), out;
  int forms = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".rux") continue;
    ++forms;
    std::ostringstream tree, err;
    TPreviewRequest request;
    request.File = entry.path().string();
    request.Tree = true;
    request.Png = out.Path() + "/form.png";
    EXPECT_EQ(RunPreviewRequest(request, tree, err), 0) << request.File << ": " << err.str();
    // A root line and a line for every component (a form whose controls its code makes, or a
    // data module, has the root's only).
    const std::string text = tree.str();
    EXPECT_GE(std::count(text.begin(), text.end(), '\n'), 1) << request.File;
    EXPECT_TRUE(fs::exists(request.Png)) << request.File;
    ReleaseRuxViewer();
  }
  EXPECT_GT(forms, 0);
}

TEST(RealForms, TheTextsATranslatorTranslatesAreVisible) {
  const fs::path dir = RealFormsFolder();
  if (!fs::is_directory(dir))
    GTEST_SKIP() << "no real forms in " << dir << " (scripts/real_forms.sh fetches them)";
  vaq::testing::TempDir config(vaq::testing::TempDir::kConfig);
  testing::TVisibleTexts texts;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().extension() == ".rux") texts += testing::MeasureVisibleTexts(entry.path().string());
  Report("real forms", texts);
  EXPECT_GT(texts.Total, 0);
  EXPECT_GE(texts.Percent(), 99.5);
}

// The demo's forms and generated forms of every control kind the generator knows (lists, grids
// with titles, list views with columns, status bars, page controls, memos, ...).
TEST(VisibleTexts, DemoAndGeneratedForms) {
  vaq::testing::TempDir config(vaq::testing::TempDir::kConfig), dir;
  const fs::path demo = fs::path(VAQ_TESTS_SOURCE_DIR) / ".." / "examples" / "demo";
  testing::TVisibleTexts texts;
  for (const char* name : {"MainForm.rux", "BaseDialog.rux", "AddressFrame.rux", "ReportView.gox"}) {
    fs::copy_file(demo / name, fs::path(dir.Path()) / name);
    texts += testing::MeasureVisibleTexts(dir.Path() + "/" + name);
  }
  Report("demo", texts);
  EXPECT_EQ(texts.Shown, texts.Total);
  testing::TVisibleTexts generated;
  for (std::uint64_t seed = 1; seed <= 24; ++seed) {
    const std::string file = dir.Path() + "/Generated" + std::to_string(seed) + ".rux";
    std::ofstream(file, std::ios::binary) << vaq::testing::GenerateFormText(seed, 20'000);
    generated += testing::MeasureVisibleTexts(file);
  }
  Report("generated forms", generated);
  EXPECT_GT(generated.Total, 500);
  EXPECT_GE(generated.Percent(), 99.5);
}

}  // namespace
}  // namespace rux
