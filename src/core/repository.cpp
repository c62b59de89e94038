// The translation repository: the process's connection to the store its location names.
#include "host/core/repository.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/options.h"
#include "host/core/registry.h"
#include "host/core/text.h"
#include "repository_store.h"

namespace vaq {
namespace {

using repository::TPair;
using repository::TStore;

// A server that could not be reached is not asked again for this long: a command over many files
// fails fast, and an editor left open tries again later.
constexpr std::chrono::seconds kRetryServerAfter{30};

std::string Tag(TLCID lcid) {
  std::string tag = LCIDToStr(lcid, true);
  if (tag.empty()) throw EVaqError(Format("Unknown locale id %d for the translation repository", {lcid}));
  return tag;
}

// The process's connection to the repository, opened on first use and again when the location
// changes (the option may change while an editor is open).
class TRepositoryConnection {
 public:
  std::mutex Mutex;

  void SetLocation(const std::string& location) {
    Close();
    explicit_ = location;
    failure_.clear();
  }

  std::string Location() const {
    if (!explicit_.empty()) return explicit_;
    if (std::string option = VaqINTOptionProps.GetString(kOptRepository);
        option.find_first_not_of(" \t") != std::string::npos)
      return option;
    return IncludeTrailingPathDelimiter(VaqConfigDir()) + "repository.db";
  }

  // Runs `use` on the store; a missing file gives `missing` unless `create` makes it. A connection
  // found lost afterwards is dropped, so that the next call connects again.
  template <typename Use, typename Missing>
  auto With(bool create, const Use& use, const Missing& missing) {
    TStore* store = Open(create);
    if (!store) return missing();
    try {
      return use(*store);
    } catch (const EVaqError&) {
      if (store_ && store_->Lost()) Close();
      throw;
    }
  }

  void Begin() {
    Open(true)->Begin();
    transaction_ = true;
  }
  void Commit() {
    if (!store_) throw EVaqError("The translation repository's transaction was lost");
    store_->Commit();
    transaction_ = false;
  }
  void Rollback() {
    if (store_ && transaction_) store_->Rollback();
    transaction_ = false;
  }

  // The words' counts of the similarity lookups, kept as long as the connection.
  repository::TWordCounts Counts;

  // Tags of the last locale pair looked up; the merge asks for one pair many times.
  TLCID LastSource = 0, LastTarget = 0;
  TPair LastPair;

 private:
  TStore* Open(bool create) {
    const std::string location = Location();
    if (location != opened_ && !transaction_) Close();
    if (store_) return store_.get();
    if (!failure_.empty() && failedLocation_ == location && std::chrono::steady_clock::now() < retryAt_)
      throw EVaqError(failure_);
    if (!create && missing_ == location) return nullptr;
    if (IsServerLocation(location)) {
      try {
        store_ = repository::OpenPostgresStore(location);
      } catch (const EVaqError& error) {
        failure_ = error.what();
        failedLocation_ = location;
        retryAt_ = std::chrono::steady_clock::now() + kRetryServerAfter;
        throw;
      }
    } else {
      store_ = repository::OpenSqliteStore(location, create);
      if (!store_) {
        missing_ = location;
        return nullptr;
      }
    }
    failure_.clear();
    missing_.clear();
    opened_ = location;
    return store_.get();
  }

  void Close() {
    store_.reset();
    Counts.Clear();
    opened_.clear();
    missing_.clear();
    transaction_ = false;
  }

  std::string explicit_;
  std::string opened_;
  std::string missing_;  // a file found missing: not looked for again until something is added
  std::string failure_;  // why the server of failedLocation_ could not be reached
  std::string failedLocation_;
  std::chrono::steady_clock::time_point retryAt_;
  bool transaction_ = false;
  std::unique_ptr<TStore> store_;
};

TRepositoryConnection& Repository() {
  static TRepositoryConnection connection;
  return connection;
}

// The pair's tags; "" for any when a locale is 0.
TPair TagsOrAny(TLCID source, TLCID target) {
  return {source ? Tag(source) : std::string(), target ? Tag(target) : std::string()};
}

}  // namespace

void SetRepositoryLocation(const std::string& Location) {
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  repository.SetLocation(Location);
}

std::string RepositoryLocation() {
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  return repository.Location();
}

bool IsServerLocation(std::string_view Location) {
  for (const std::string_view scheme : {"postgresql://", "postgres://"})
    if (Location.size() >= scheme.size() && AnsiSameText(Location.substr(0, scheme.size()), scheme))
      return true;
  return false;
}

namespace {

// Where a URI holds passwords: after "user:" before "@", and as the values of "password=".
std::vector<std::pair<std::size_t, std::size_t>> PasswordRanges(std::string_view uri) {
  std::vector<std::pair<std::size_t, std::size_t>> ranges;
  if (!IsServerLocation(uri)) return ranges;
  const std::size_t authority = uri.find("://") + 3;
  std::size_t end = uri.find_first_of("/?#", authority);
  if (end == std::string_view::npos) end = uri.size();
  if (const std::size_t at = uri.rfind('@', end); at != std::string_view::npos && at >= authority) {
    if (const std::size_t colon = uri.find(':', authority); colon < at) ranges.emplace_back(colon + 1, at);
  }
  if (const std::size_t question = uri.find('?', end); question != std::string_view::npos) {
    for (std::size_t start = question + 1; start < uri.size();) {
      std::size_t stop = uri.find_first_of("&#", start);
      if (stop == std::string_view::npos) stop = uri.size();
      if (uri.substr(start, 9) == "password=") ranges.emplace_back(start + 9, stop);
      if (stop >= uri.size() || uri[stop] == '#') break;
      start = stop + 1;
    }
  }
  return ranges;
}

}  // namespace

std::string MaskRepositoryPassword(std::string_view Location) {
  std::string masked(Location);
  const auto ranges = PasswordRanges(Location);
  for (auto range = ranges.rbegin(); range != ranges.rend(); ++range)  // from the back: offsets stay
    masked.replace(range->first, range->second - range->first, "***");
  return masked;
}

std::string repository::MaskPasswordsIn(std::string_view Text, std::string_view Location) {
  std::string masked(Text);
  for (const auto& [begin, end] : PasswordRanges(Location)) {
    const std::string_view password = Location.substr(begin, end - begin);
    if (password.empty()) continue;
    for (std::size_t at = masked.find(password); at != std::string::npos; at = masked.find(password, at + 3))
      masked.replace(at, password.size(), "***");
  }
  return masked;
}

void CheckRepository() {
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  repository.With(
      false, [](TStore&) { return 0; }, [] { return 0; });
}

bool GetTranslation(TLCID SourceLocale, TLCID TargetLocale, std::string& Text) {
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  if (SourceLocale != repository.LastSource || TargetLocale != repository.LastTarget) {
    repository.LastPair = {LCIDToStr(SourceLocale, true), LCIDToStr(TargetLocale, true)};
    repository.LastSource = SourceLocale;
    repository.LastTarget = TargetLocale;
  }
  const std::optional<std::string> found = repository.With(
      false, [&](TStore& store) { return store.Lookup(repository.LastPair, Text); },
      [] { return std::optional<std::string>(); });
  if (!found) return false;
  Text = *found;
  return true;
}

void AddTranslation(TLCID SourceLocale, TLCID TargetLocale, const std::string& Original,
                    const std::string& Translation) {
  AddTranslations(SourceLocale, TargetLocale, {{Original, Translation}});
}

void AddTranslations(TLCID SourceLocale, TLCID TargetLocale, const std::vector<TTranslationPair>& Pairs) {
  const TPair pair{Tag(SourceLocale), Tag(TargetLocale)};
  std::vector<repository::TIndexedEntry> entries;
  entries.reserve(Pairs.size());
  for (const TTranslationPair& added : Pairs)
    entries.push_back(repository::IndexEntry(SourceLocale, added.Original, added.Translation));
  // One order for every writer: concurrent batches then take their row locks in the same order and
  // cannot deadlock. Stable, so that of one original the later translation still wins.
  std::stable_sort(entries.begin(), entries.end(),
                   [](const auto& a, const auto& b) { return a.Original < b.Original; });
  const TDateTime now = VaqNow();
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  repository.With(
      true,
      [&](TStore& store) {
        store.Add(pair, entries, now);
        return 0;
      },
      [] { return 0; });
}

TRepositoryTransaction::TRepositoryTransaction() {
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  repository.Begin();
}

TRepositoryTransaction::~TRepositoryTransaction() {
  if (!open_) return;
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  repository.Rollback();
}

void TRepositoryTransaction::Commit() {
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  open_ = false;
  repository.Commit();
}

std::vector<TRepositoryEntry> ListTranslations(TLCID SourceLocale, TLCID TargetLocale) {
  const TPair pair = TagsOrAny(SourceLocale, TargetLocale);
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  return repository.With(
      false, [&](TStore& store) { return store.List(pair.Source, pair.Target); },
      [] { return std::vector<TRepositoryEntry>(); });
}

std::vector<TReplacedTranslation> ListReplacedTranslations(TLCID SourceLocale, TLCID TargetLocale) {
  const TPair pair = TagsOrAny(SourceLocale, TargetLocale);
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  return repository.With(
      false, [&](TStore& store) { return store.History(pair.Source, pair.Target); },
      [] { return std::vector<TReplacedTranslation>(); });
}

int RemoveTranslations(TLCID SourceLocale, TLCID TargetLocale, const std::optional<std::string>& Original) {
  const TPair pair{Tag(SourceLocale), Tag(TargetLocale)};
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  return repository.With(
      false, [&](TStore& store) { return store.Remove(pair, Original ? &*Original : nullptr); },
      [] { return 0; });
}

std::vector<TSuggestion> FindSimilarTranslations(TLCID SourceLocale, TLCID TargetLocale,
                                                 std::string_view Text, int MinSimilarity, int Limit) {
  if (MinSimilarity < 1 || MinSimilarity > 100)
    throw EVaqError(
        Format("A similarity of %d%% is no percentage from 1 to 100", {std::int64_t{MinSimilarity}}));
  const TPair pair{Tag(SourceLocale), Tag(TargetLocale)};
  if (Limit <= 0) return {};
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  return repository.With(
      false,
      [&](TStore& store) {
        return repository::FindSimilar(store, repository.Counts, pair, TargetLocale, Text, MinSimilarity,
                                       static_cast<std::size_t>(Limit));
      },
      [] { return std::vector<TSuggestion>(); });
}

}  // namespace vaq
