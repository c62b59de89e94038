// Several translators at once, against both stores: four processes add 25,000 entries each (and
// give a tenth of them a second translation, and all add the same few shared originals) while two
// others look up. Afterwards every entry is there once with its latest translation, every replaced
// translation is in the history, and no process failed.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <random>
#include <set>

#include "core/repository_stores.h"
#include "host/core/files.h"
#include "host/core/similarity.h"

namespace vaq {
namespace {

constexpr TLCID kEnglish = 0x0409;
constexpr TLCID kGerman = 0x0407;
constexpr int kWriters = 4;
constexpr int kReaders = 2;
constexpr int kEntries = 25000;  // each writer's own
constexpr int kShared = 250;     // originals every writer adds
constexpr int kBatch = 500;

std::string Original(int writer, int i) {
  return "'Entry " + std::to_string(writer) + "-" + std::to_string(i) + "'";
}
std::string Translation(int writer, int i, bool second) {
  return "'Eintrag " + std::to_string(writer) + "-" + std::to_string(i) + (second ? " neu'" : "'");
}
std::string SharedOriginal(int i) {
  return "'Shared " + std::to_string(i) + "'";
}
std::string SharedTranslation(int i, int writer) {
  return "'Geteilt " + std::to_string(i) + " von " + std::to_string(writer) + "'";
}

void AddInBatches(const std::vector<TTranslationPair>& pairs) {
  for (std::size_t begin = 0; begin < pairs.size(); begin += kBatch) {
    const auto end = pairs.begin() + static_cast<std::ptrdiff_t>(std::min(pairs.size(), begin + kBatch));
    AddTranslations(kEnglish, kGerman, std::vector<TTranslationPair>(pairs.begin() + begin, end));
  }
}

void Write(int writer) {
  std::vector<TTranslationPair> own, again, shared;
  for (int i = 0; i < kEntries; ++i) {
    own.push_back({Original(writer, i), Translation(writer, i, false)});
    if (i % 10 == 0) again.push_back({Original(writer, i), Translation(writer, i, true)});
  }
  for (int i = 0; i < kShared; ++i) shared.push_back({SharedOriginal(i), SharedTranslation(i, writer)});
  AddInBatches(shared);
  AddInBatches(own);
  AddInBatches(again);
}

// Looks up until `stop` exists; every answer must be one the writers gave. Returns the count.
int Read(int reader, const std::string& stop) {
  std::mt19937 random(static_cast<unsigned>(reader));
  int lookups = 0;
  while (!FileExists(stop)) {
    for (int round = 0; round < 200; ++round, ++lookups) {
      const int writer = static_cast<int>(random() % kWriters), i = static_cast<int>(random() % kEntries);
      std::string text = Original(writer, i);
      if (GetTranslation(kEnglish, kGerman, text) && text != Translation(writer, i, false) &&
          text != Translation(writer, i, true))
        throw std::runtime_error("wrong translation " + text + " of " + Original(writer, i));
    }
    const std::string asked =
        "Entry " + std::to_string(random() % kWriters) + "-" + std::to_string(random() % kEntries);
    for (const TSuggestion& suggestion : FindSimilarTranslations(kEnglish, kGerman, asked, 90, 10)) {
      if (suggestion.Similarity < 90 ||
          SimilarityPercent(asked, suggestion.SourceText) != suggestion.Similarity)
        throw std::runtime_error("wrong suggestion " + suggestion.SourceText + " for " + asked);
    }
    ++lookups;
  }
  return lookups;
}

// Runs `work` in a child process with a connection of its own; its exit status tells how it went.
template <typename Work>
pid_t Spawn(const std::string& location, const char* what, int number, const Work& work) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  int status = 0;
  try {
    SetVaqClock({});
    SetRepositoryLocation(location);
    work();
    SetRepositoryLocation("");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s %d failed: %s\n", what, number, error.what());
    status = 1;
  }
  std::fflush(stderr);
  _exit(status);
}

int Wait(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

using Concurrency = RepositoryStores;
VAQ_INSTANTIATE_FOR_BOTH_STORES(Concurrency);

TEST_P(Concurrency, FourWritersTwoReadersLoseNothing) {
  SetRepositoryLocation("");  // no connection of the parent's in the children
  const std::string stop = dir_ / "writers-done";
  std::vector<pid_t> writers, readers;
  for (int r = 0; r < kReaders; ++r) {
    readers.push_back(Spawn(location_, "reader", r,
                            [&, r] { std::fprintf(stderr, "reader %d: %d lookups\n", r, Read(r, stop)); }));
  }
  for (int w = 0; w < kWriters; ++w) writers.push_back(Spawn(location_, "writer", w, [w] { Write(w); }));
  for (const pid_t pid : writers) EXPECT_EQ(Wait(pid), 0) << "a writer failed";
  WriteFileAtomic(stop, "");
  for (const pid_t pid : readers) EXPECT_EQ(Wait(pid), 0) << "a reader failed";

  SetRepositoryLocation(location_);
  const std::vector<TRepositoryEntry> entries = ListTranslations(kEnglish, kGerman);
  EXPECT_EQ(entries.size(), static_cast<std::size_t>(kWriters * kEntries + kShared));
  std::map<std::string, std::string> translations;
  for (const TRepositoryEntry& entry : entries)
    EXPECT_TRUE(translations.emplace(entry.Original, entry.Translation).second)
        << "twice: " << entry.Original;
  int wrong = 0;
  for (int w = 0; w < kWriters; ++w)
    for (int i = 0; i < kEntries; ++i)
      wrong += translations[Original(w, i)] != Translation(w, i, i % 10 == 0);
  EXPECT_EQ(wrong, 0);

  // Every shared original: one writer's translation won, the other three are in the history.
  std::map<std::string, std::set<std::string>> replaced;
  int replacedOwn = 0;
  for (const TReplacedTranslation& old : ListReplacedTranslations(kEnglish, kGerman)) {
    if (old.Entry.Original.starts_with("'Shared"))
      replaced[old.Entry.Original].insert(old.Entry.Translation);
    else
      ++replacedOwn;
  }
  EXPECT_EQ(replacedOwn, kWriters * kEntries / 10);
  ASSERT_EQ(replaced.size(), static_cast<std::size_t>(kShared));
  for (int i = 0; i < kShared; ++i) {
    std::set<std::string> all = replaced[SharedOriginal(i)];
    EXPECT_EQ(all.size(), static_cast<std::size_t>(kWriters - 1));
    all.insert(translations[SharedOriginal(i)]);
    EXPECT_EQ(all.size(), static_cast<std::size_t>(kWriters)) << SharedOriginal(i);
  }
}

}  // namespace
}  // namespace vaq
