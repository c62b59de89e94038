// Real forms of open-source projects (fetched by scripts/real_forms.sh into build/real-forms, or
// the folder $VAQ_REAL_FORMS): each previews from the form itself, with a tree and a picture.
// Skipped when the forms are not there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/temp_dir.h"
#include "viewer/preview.h"
#include "viewer/viewer.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

TEST(RealForms, EachPreviewsWithoutAnError) {
  const char* env = std::getenv("VAQ_REAL_FORMS");
  fs::path dir = env ? fs::path(env) : fs::path(VAQ_TESTS_SOURCE_DIR) / ".." / "build" / "real-forms";
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
    // A root line and a line for every component.
    const std::string text = tree.str();
    EXPECT_GT(std::count(text.begin(), text.end(), '\n'), 1) << request.File;
    EXPECT_TRUE(fs::exists(request.Png)) << request.File;
    ReleaseRuxViewer();
  }
  EXPECT_GT(forms, 0);
}

}  // namespace
}  // namespace rux
