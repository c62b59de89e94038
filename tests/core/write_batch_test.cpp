// The batch of atomic writes: files replaced together with their dates; a full disk or a kill at
// any moment leaves every file old or new; temporaries of killed writers go with the next write in
// their folder, those of living writers stay.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "support/temp_dir.h"

namespace vaq {
namespace {

namespace fs = std::filesystem;

// The names in a folder that are temporaries of ours.
std::vector<std::string> Temporaries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.find(".~vaq") != std::string::npos) names.push_back(name);
  }
  return names;
}

TEST(WriteBatch, ReplacesItsFilesTogetherWithTheirDates) {
  const testing::TempDir dir;
  fs::create_directories(dir / "sub");
  WriteFileAtomic(dir / "a.ruz", "old a");
  TAtomicWriteBatch batch;
  batch.Add(dir / "a.ruz", "first a", 46000.25);
  batch.Add(dir / "sub/b.rux", "b");
  batch.Add(dir / "a.ruz", "new a", 46000.5);  // a later version of the same file replaces the first
  ASSERT_EQ(batch.Count(), 2u);
  EXPECT_EQ(batch.Bytes(), 6u);
  ASSERT_NE(batch.Find(dir / "a.ruz"), nullptr);
  EXPECT_EQ(*batch.Find(dir / "a.ruz")->Date, 46000.5);
  EXPECT_EQ(ReadFileBytes(dir / "a.ruz"), "old a") << "nothing is written before the commit";
  EXPECT_FALSE(FileExists(dir / "sub/b.rux"));

  TAtomicWriteBatch more;
  more.Add(dir / "sub/c.rux", "c");
  batch.Append(more);
  EXPECT_TRUE(more.Empty());
  batch.Commit();
  EXPECT_TRUE(batch.Empty());
  EXPECT_EQ(ReadFileBytes(dir / "a.ruz"), "new a");
  EXPECT_EQ(DateOfFile(dir / "a.ruz"), 46000.5);
  EXPECT_EQ(ReadFileBytes(dir / "sub/b.rux"), "b");
  EXPECT_EQ(ReadFileBytes(dir / "sub/c.rux"), "c");
  EXPECT_TRUE(Temporaries(dir.Path()).empty());
  EXPECT_TRUE(Temporaries(dir / "sub").empty());
}

// What a failure left undone stays in the batch, and a second commit completes it.
TEST(WriteBatch, AFileThatCannotBeWrittenIsNamedAndNothingIsReplaced) {
  const testing::TempDir dir;
  WriteFileAtomic(dir / "a.ruz", "old a");
  TAtomicWriteBatch batch;
  batch.Add(dir / "a.ruz", "new a");
  batch.Add(dir / "missing/b.ruz", "b");
  try {
    batch.Commit();
    FAIL() << "no error";
  } catch (const EFileError& error) {
    EXPECT_NE(std::string(error.what()).find(dir / "missing/b.ruz"), std::string::npos) << error.what();
  }
  EXPECT_EQ(ReadFileBytes(dir / "a.ruz"), "old a");
  EXPECT_TRUE(Temporaries(dir.Path()).empty());
  ASSERT_EQ(batch.Count(), 2u);
  EXPECT_EQ(batch.Bytes(), 6u);
  fs::create_directories(dir / "missing");
  batch.Commit();
  EXPECT_TRUE(batch.Empty());
  EXPECT_EQ(ReadFileBytes(dir / "a.ruz"), "new a");
  EXPECT_EQ(ReadFileBytes(dir / "missing/b.ruz"), "b");
}

// A file-size limit makes a write fail part-way, as a full disk would.
TEST(WriteBatch, AFullDiskLeavesEveryFileOld) {
  const testing::TempDir dir;
  const std::vector<std::string> names = {dir / "a.ruz", dir / "b.rux", dir / "c.ruz"};
  for (const std::string& name : names) WriteFileAtomic(name, "old");
  const pid_t child = ::fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    TAtomicWriteBatch batch;
    batch.Add(names[0], "small");
    batch.Add(names[1], std::string(100'000, 'x'));
    batch.Add(names[2], "small");
    try {
      batch.Commit();
    } catch (const EFileError&) {
      ::_exit(0);
    } catch (...) {
      ::_exit(2);
    }
    ::_exit(1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no error raised, 2: another exception";
  for (const std::string& name : names) EXPECT_EQ(ReadFileBytes(name), "old") << name;
  EXPECT_TRUE(Temporaries(dir.Path()).empty());
}

// A save killed at random moments: every file is old or new, never anything else; a temporary it
// left behind (only between giving a file its name and renaming it) goes with the next save there.
TEST(WriteBatch, KilledSavesLeaveEachFileOldOrNewAndNothingAfterTheNextSave) {
  const testing::TempDir dir;
  fs::create_directories(dir / "forms");
  std::vector<std::string> names;
  for (int i = 0; i < 24; ++i) {
    names.push_back((i % 2 == 0 ? dir / "n" : dir / "forms/f") + std::to_string(i) + ".ruz");
  }
  const auto content = [](const std::string& kind, const std::string& name) {
    std::string text;
    while (text.size() < 64 * 1024) text += kind + " " + name + "\n";
    return text;
  };
  const auto save = [&](const std::string& kind) {
    TAtomicWriteBatch batch;
    for (const std::string& name : names) batch.Add(name, content(kind, name));
    batch.Commit();
  };
  save("old");
  // How long one save takes here, to spread the kills over it.
  const auto start = std::chrono::steady_clock::now();
  save("old");
  const auto took =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);

  std::mt19937 random(20240607);
  int oldOnes = 0, newOnes = 0;
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    save("old");
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      try {
        save("new");
      } catch (...) {
        ::_exit(1);
      }
      ::_exit(0);
    }
    ::usleep(static_cast<useconds_t>(random() % (took.count() + 1000)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    for (const std::string& name : names) {
      const std::string text = ReadFileBytes(name);
      if (text == content("old", name)) {
        ++oldOnes;
      } else {
        EXPECT_EQ(text, content("new", name)) << name;
        ++newOnes;
      }
    }
  }
  EXPECT_GT(oldOnes + newOnes, 0);
  save("next");
  EXPECT_TRUE(Temporaries(dir.Path()).empty());
  EXPECT_TRUE(Temporaries(dir / "forms").empty());
}

TEST(WriteBatch, OnlyTemporariesNoLivingWriterHoldsAreRemoved) {
  const testing::TempDir dir;
  const std::string stale = dir / "a.ruz.~vaq0badf00d";
  const std::string held = dir / "b.ruz.~vaq0c0ffee0";
  const std::string mine = dir / "c.ruz.~vaqnothex!";  // not of our naming
  for (const std::string& name : {stale, held, mine}) std::ofstream(name) << "x";
  const int lock = ::open(held.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(lock, 0);
  ASSERT_EQ(::flock(lock, LOCK_EX), 0);
  WriteFileAtomic(dir / "a.ruz", "a");
  EXPECT_FALSE(FileExists(stale));
  EXPECT_TRUE(FileExists(held));
  EXPECT_TRUE(FileExists(mine));
  ::close(lock);
  TAtomicWriteBatch batch;
  batch.Add(dir / "b.ruz", "b");
  batch.Commit();
  EXPECT_FALSE(FileExists(held)) << "its writer is gone";
}

}  // namespace
}  // namespace vaq
