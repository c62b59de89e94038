// What the module leaves in the core: its commands, file type and project callbacks come with the
// start-up and are all gone after the shut-down, since a plug-in's code is unloaded after it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "host/core/commands.h"
#include "host/core/projects.h"
#include "host/core/registration.h"
#include "module/module.h"

namespace rux {
namespace {

TEST(ModuleCommands, ComeWithTheStartUpAndLeaveWithTheShutDown) {
  const std::filesystem::path config = std::filesystem::temp_directory_path() / "vaq-module-commands";
  ::setenv("VAQ_CONFIG_DIR", config.c_str(), 1);
  ModuleStartup();
  for (const char* name : {"records", "extract", "write", "repository add"}) {
    const vaq::TVaqCommand* command = vaq::FindVaqCommand(name);
    ASSERT_NE(command, nullptr) << name;
    EXPECT_TRUE(command->Run) << name;
    EXPECT_TRUE(command->Synopsis.starts_with(name)) << "--help shows the synopsis as typed: " << name;
  }
  const int index = vaq::VaqFileTypes.ExtIndexOf(".gox");
  ASSERT_GE(index, 0);
  EXPECT_EQ(vaq::GetVaqFileType(index)->NoteExtensions, ".ruz;.goz")
      << "the host pairs form and notes extensions from the file type";
  EXPECT_TRUE(vaq::PelgoProjectCreate());

  ModuleShutdown();
  EXPECT_TRUE(vaq::VaqCommands().empty());
  EXPECT_EQ(vaq::VaqFileTypes.Count(), 0);
  EXPECT_FALSE(vaq::PelgoProjectCreate()) << "no callback may point into an unloaded module";
  EXPECT_FALSE(vaq::CPPProjectCreate());
  ::unsetenv("VAQ_CONFIG_DIR");
  std::filesystem::remove_all(config);
}

}  // namespace
}  // namespace rux
