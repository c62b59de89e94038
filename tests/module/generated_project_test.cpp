// The generated project the update benchmarks use (500 forms of about 20 KB, seeds 1 to 500): every
// form updates, and its translated form is written, without a message and without an error file.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/registration.h"
#include "host/core/resource_strings.h"
#include "module/module.h"
#include "support/form_generator.h"
#include "support/host_fakes.h"
#include "support/temp_dir.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

TEST(GeneratedProject, EveryFormOfTheBenchmarkSetIsWrittenWithoutAnErrorFile) {
  const vaq::testing::TempDir dir;
  const vaq::testing::TempDir config(vaq::testing::TempDir::kConfig);
  std::vector<std::string> forms;
  for (std::uint64_t seed = 1; seed <= 500; ++seed) {
    forms.push_back(dir / ("Form" + std::to_string(seed) + ".rux"));
    vaq::WriteFileAtomic(forms.back(), vaq::testing::GenerateFormText(seed, 20'000));
  }
  auto owned = std::make_unique<vaq::CollectingSink>();
  const vaq::CollectingSink& sink = *owned;
  const vaq::ScopedMessageSink messages(std::move(owned));
  ModuleStartup();
  vaq::testing::TUnitList units(forms);
  vaq::TStats stats;
  vaq::TStringObjectList translated;
  vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".rux"))
      ->UpdateForms(&translated, stats, dir.Path(), dir.Path(), dir / "de-DE", vaq::sUpdate, {}, 0x0409,
                    0x0407, &units, 0, {});
  ModuleShutdown();
  EXPECT_TRUE(sink.Messages.empty()) << sink.Messages.size() << " messages, the first: " << sink.Messages[0];
  std::vector<std::string> errorFiles;
  for (const auto& entry : fs::directory_iterator(dir / "de-DE")) {
    if (entry.path().extension() == ".ERR_RUX") errorFiles.push_back(entry.path().filename().string());
  }
  EXPECT_TRUE(errorFiles.empty()) << errorFiles.size() << " error files, the first: " << errorFiles[0];
  for (const std::string& form : forms) {
    const std::string xlat = dir / ("de-DE/" + vaq::ExtractFileName(form));
    EXPECT_TRUE(vaq::FileExists(vaq::ChangeFileExt(xlat, ".ruz"))) << form;
    // The translated form is the one the notes make, in binary: not the copy of the text original.
    EXPECT_TRUE(vaq::ReadFileBytes(xlat).starts_with("TPF0")) << form;
  }
}

}  // namespace
}  // namespace rux
