// What a project update writes, watched from outside through the kernel's file events on the
// language folder of a copy of the demo project: each notes file and translated form of a form
// that needs updating is written exactly once (a first update, a changed original, a translated
// copy edited by hand), the others not at all, and no editor window is made. And an update killed
// at random moments leaves every file old or new; the next update completes it, with nothing
// left behind.
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/registration.h"
#include "host/core/resource_strings.h"
#include "host/framework/formstream.h"
#include "module/module.h"
#include "support/host_fakes.h"
#include "support/temp_dir.h"

namespace rux {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kDemoUnits = {"MainForm.pas", "AddressFrame.pas", "BaseDialog.pas",
                                             "OptionsDialog.pas", "ReportView.cpp"};

// The demo project in a folder of its own, with the module started.
class UpdateWrites : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(fs::path(VAQ_TESTS_SOURCE_DIR) / ".." / "examples" / "demo", Project(),
             fs::copy_options::recursive);
    ModuleStartup();
  }
  void TearDown() override {
    ModuleShutdown();
    vaq::SetVaqClock({});
  }

  std::string Project(const std::string& name = {}) const { return dir_ / ("project/" + name); }
  std::string Lang(const std::string& name = {}) const { return dir_ / ("project/de-DE/" + name); }

  vaq::TStats Update() {
    std::vector<std::string> units;
    for (const std::string& unit : kDemoUnits) units.push_back(Project(unit));
    vaq::testing::TUnitList tools(units);
    vaq::TStats stats;
    vaq::TStringObjectList forms;
    FileType().UpdateForms(&forms, stats, Project(), Project(), Lang(), vaq::sUpdate, {}, 0x0409, 0x0407,
                           &tools, 0, {});
    return stats;
  }
  static vaq::TVaqFileType& FileType() { return *vaq::GetVaqFileType(vaq::VaqFileTypes.ExtIndexOf(".rux")); }

  // A form whose date moved on, as an editor leaves it.
  static void Edit(const std::string& file, std::string_view from, std::string_view to) {
    std::string text = vaq::ReadFileBytes(file);
    if (text.starts_with("TPF0")) {
      vaq::TMemoryStream binary(text), formText;
      vaq::ObjectResourceToText(binary, formText);
      text = formText.Data();
    }
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from << " in " << file;
    text.replace(at, from.size(), to);
    const vaq::TDateTime date = vaq::DateOfFile(file);
    vaq::WriteFileAtomic(file, text);
    vaq::SetDateOfFile(file, date + 1.0 / 24);
  }

  const vaq::testing::TempDir dir_;
};

// Every change of a name in a folder the kernel reports, counted by name.
class FolderWatch {
 public:
  explicit FolderWatch(const std::string& folder) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (fd_ >= 0) {
      ::inotify_add_watch(fd_, folder.c_str(),
                          IN_MOVED_TO | IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_DELETE | IN_CREATE);
    }
  }
  ~FolderWatch() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Works() const { return fd_ >= 0; }

  // Since the last call: the names that were written, each with how often (a rename onto the name,
  // or a write, a date or a deletion of the file of that name).
  std::map<std::string, int> Writes() {
    std::map<std::string, int> writes;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
      const ssize_t got = ::read(fd_, buffer, sizeof buffer);
      if (got <= 0) break;
      for (char* at = buffer; at < buffer + got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(at);
        const std::string name = event->len > 0 ? event->name : "";
        // A file is created with no name ("#" and its inode, to the kernel) or under a temporary
        // one, and renamed into place.
        const bool temporary = name.starts_with('#') || name.find(".~vaq") != std::string::npos;
        if (!temporary && (event->mask & (IN_MOVED_TO | IN_CLOSE_WRITE | IN_ATTRIB | IN_DELETE)) != 0)
          ++writes[name];
        at += sizeof(inotify_event) + event->len;
      }
    }
    return writes;
  }

 private:
  int fd_;
};

TEST_F(UpdateWrites, EachFileOfAFormThatNeedsUpdatingIsWrittenOnce) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  fs::create_directories(Lang());
  FolderWatch watch(Lang());
  if (!watch.Works()) GTEST_SKIP() << "no file events on this system";

  Update();
  std::map<std::string, int> once;
  for (const char* form : {"MainForm", "AddressFrame", "BaseDialog", "OptionsDialog"}) {
    once[std::string(form) + ".ruz"] = 1;
    once[std::string(form) + ".rux"] = 1;
  }
  once["ReportView.goz"] = once["ReportView.gox"] = 1;
  EXPECT_EQ(watch.Writes(), once) << "the first update";
  EXPECT_EQ(FileType().Editor, nullptr) << "an update makes no editor window";

  Update();
  EXPECT_TRUE(watch.Writes().empty()) << "an update of unchanged forms writes nothing";

  Edit(Project("MainForm.rux"), "'Orders'", "'All orders'");
  watch.Writes();
  Update();
  EXPECT_EQ(watch.Writes(), (std::map<std::string, int>{{"MainForm.ruz", 1}, {"MainForm.rux", 1}}))
      << "a changed original";

  // The translator edits a translated form: its values are read back and merged with the
  // original's, and both files are written once all the same.
  Edit(Lang("BaseDialog.rux"), "'Cancel'", "'Abbrechen'");
  watch.Writes();
  Update();
  EXPECT_EQ(watch.Writes(), (std::map<std::string, int>{{"BaseDialog.ruz", 1}, {"BaseDialog.rux", 1}}))
      << "a translated form edited by hand";
  EXPECT_NE(vaq::ReadFileBytes(Lang("BaseDialog.ruz")).find("'Abbrechen'"), std::string::npos);
}

// The files of the language folder by name.
std::map<std::string, std::string> Contents(const std::string& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : fs::directory_iterator(folder)) {
    contents[entry.path().filename().string()] = vaq::ReadFileBytes(entry.path().string());
  }
  return contents;
}

// A copy of a folder's files with their dates, which decide what an update does.
void CopyFiles(const fs::path& from, const fs::path& to) {
  fs::remove_all(to);
  fs::create_directories(to);
  for (const auto& entry : fs::directory_iterator(from)) {
    const fs::path target = to / entry.path().filename();
    fs::copy_file(entry.path(), target);
    fs::last_write_time(target, fs::last_write_time(entry.path()));
  }
}

TEST_F(UpdateWrites, AKilledUpdateLeavesEachFileOldOrNewAndTheNextOneCompletesIt) {
  const vaq::ScopedMessageSink quiet(std::make_unique<vaq::CollectingSink>());
  // The clock stands still, so that the same update writes the same bytes every time.
  vaq::SetVaqClock([] { return 46400.5; });
  Update();
  for (const auto& [form, from, to] : std::vector<std::tuple<std::string, std::string, std::string>>{
           {"MainForm.rux", "'Orders'", "'All orders'"},
           {"BaseDialog.rux", "'Cancel'", "'Close'"},
           {"OptionsDialog.rux", "'Units'", "'Measures'"},
           {"AddressFrame.rux", "'Street'", "'Road'"}}) {
    Edit(Project(form), from, to);
  }
  const fs::path old = dir_ / "old";
  CopyFiles(Lang(), old);
  const auto start = std::chrono::steady_clock::now();
  Update();
  const auto took =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  const std::map<std::string, std::string> after = Contents(Lang());
  const std::map<std::string, std::string> before = Contents(old);
  ASSERT_NE(before, after);

  std::mt19937 random(1117);
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE(round);
    CopyFiles(old, Lang());
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      Update();
      ::_exit(0);
    }
    ::usleep(static_cast<useconds_t>(random() % (took.count() + 1)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    for (const auto& [name, text] : Contents(Lang())) {
      if (name.find(".~vaq") != std::string::npos) continue;  // removed by the next update, below
      const auto was = before.find(name);
      const auto made = after.find(name);
      EXPECT_TRUE((was != before.end() && was->second == text) ||
                  (made != after.end() && made->second == text))
          << name << " is neither old nor new";
    }
    Update();
    EXPECT_EQ(Contents(Lang()), after) << "the next update completes the killed one, leaving no temporary";
  }
}

}  // namespace
}  // namespace rux
