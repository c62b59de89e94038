// Speed of a project update through the form file type: a generated project of 500 forms of
// about 20 KB for one language, the first update (copies, notes and translated forms made) and an
// update of the unchanged project (every form skipped by its date).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/registration.h"
#include "host/core/resource_strings.h"
#include "host/framework/ide.h"
#include "module/module.h"
#include "support/form_generator.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

class GeneratedProject : public vaq::TIToolServices {
 public:
  GeneratedProject() : dir_(fs::temp_directory_path() / ("vaq-update-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(dir_ / "src");
    for (std::uint64_t seed = 1; seed <= 500; ++seed) {
      const std::string form = (dir_ / "src" / ("Form" + std::to_string(seed) + ".rux")).string();
      vaq::WriteFileAtomic(form, vaq::testing::GenerateFormText(seed, 20'000));
      forms_.push_back(form);
    }
  }
  ~GeneratedProject() override { fs::remove_all(dir_); }
  int GetUnitCount() override { return static_cast<int>(forms_.size()); }
  std::string GetUnitName(int i) override { return forms_.at(static_cast<std::size_t>(i)); }

  std::string Dir() const { return dir_.string(); }
  std::string LangDir() const { return (dir_ / "de-DE").string(); }

  int Update() {
    vaq::TVaqFileType* type = vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".rux"));
    vaq::TStats stats;
    vaq::TStringObjectList forms;
    type->UpdateForms(&forms, stats, Dir(), Dir(), LangDir(), vaq::sUpdate, {}, 0x0409, 0x0407, this, 0, {});
    return stats.New + stats.Unchanged;
  }

 private:
  fs::path dir_;
  std::vector<std::string> forms_;
};

// The module keeps its options in a configuration folder of the benchmark's own.
void StartModule(const GeneratedProject& project) {
  ::setenv("VAQ_CONFIG_DIR", (project.Dir() + "/config").c_str(), 1);
  ModuleStartup();
}

void BM_UpdateProjectFirst(benchmark::State& state) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  GeneratedProject project;
  StartModule(project);
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(project.LangDir());
    state.ResumeTiming();
    benchmark::DoNotOptimize(project.Update());
  }
  ModuleShutdown();
}

void BM_UpdateProjectUnchanged(benchmark::State& state) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  GeneratedProject project;
  StartModule(project);
  project.Update();
  for (auto _ : state) benchmark::DoNotOptimize(project.Update());
  ModuleShutdown();
}

BENCHMARK(BM_UpdateProjectFirst)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_UpdateProjectUnchanged)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rux

BENCHMARK_MAIN();
