// A generated project of 500 forms of about 20 KB, updated for de-DE and pseudo-translated (so
// that every text differs from its original), made once per benchmark program.
#pragma once

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
#include "notes/file_names.h"
#include "notes/rux_mgr.h"
#include "support/form_generator.h"

namespace rux::bench {

namespace fs = std::filesystem;

constexpr int kForms = 500;

class CheckedProject : public vaq::TIToolServices {
 public:
  CheckedProject() : dir_(fs::temp_directory_path() / ("vaq-check-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(dir_ / "src");
    ::setenv("VAQ_CONFIG_DIR", (dir_ / "config").c_str(), 1);
    for (int seed = 1; seed <= kForms; ++seed) {
      const std::string form = (dir_ / "src" / ("Form" + std::to_string(seed) + ".rux")).string();
      vaq::WriteFileAtomic(form, vaq::testing::GenerateFormText(static_cast<std::uint64_t>(seed), 20'000));
      forms_.push_back(form);
    }
    ModuleStartup();
    vaq::TStats stats;
    vaq::TStringObjectList list;
    vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".rux"))
        ->UpdateForms(&list, stats, dir_.string(), dir_.string(), (dir_ / "de-DE").string(), vaq::sUpdate, {},
                      0x0409, 0x0407, this, 0, {});
    for (int seed = 1; seed <= kForms; ++seed) {
      const std::string form = (dir_ / "de-DE" / "src" / ("Form" + std::to_string(seed) + ".rux")).string();
      TRuxMgr mgr(form);
      mgr.EggBuild();
      mgr.Save(false, "", "", false);
      notes_.push_back(FileNameToNoteName(form));
    }
  }
  ~CheckedProject() override {
    ModuleShutdown();
    fs::remove_all(dir_);
  }
  int GetUnitCount() override { return static_cast<int>(forms_.size()); }
  std::string GetUnitName(int i) override { return forms_.at(static_cast<std::size_t>(i)); }
  const std::vector<std::string>& Notes() const { return notes_; }
  // The project's folder (the notes are in its folder de-DE).
  std::string Dir() const { return dir_.string(); }

 private:
  fs::path dir_;
  std::vector<std::string> forms_;
  std::vector<std::string> notes_;
};

inline CheckedProject& Project() {
  static const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  static CheckedProject project;
  return project;
}

}  // namespace rux::bench
