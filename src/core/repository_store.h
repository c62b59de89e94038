// The two stores of the translation repository behind one interface: an SQLite file and a
// PostgreSQL database. Both keep the same tables and answer the same questions alike; what differs
// is only the SQL dialect and the connection. The rules (one translation per original, history of
// the replaced ones) live in their schemas, so that concurrent writers keep them too: a trigger
// moves a replaced translation into the history. Statements take their texts as parameters only.
// The PostgreSQL store is the library libvaq_postgres.so, which the core loads on the first use of
// a server: libpq and the libraries it needs would otherwise load with every process.
//
// Besides the entries, each store keeps an index for the similarity lookup: the distinct case-folded
// words of every stored source (host/core/similarity.h) with the source's weight, so that the
// candidates of a lookup are the entries that hold enough of the rarer words of the asked text, with
// a weight close enough to it (src/core/suggestions.cpp).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/core/repository.h"

namespace vaq::repository {

// A language pair, as BCP-47 tags.
struct TPair {
  std::string Source;
  std::string Target;
};

// An entry to store, with what the index keeps of it.
struct TIndexedEntry {
  std::string Original;
  std::string Translation;
  std::string SourceText;          // the original as UTF-8 text, without NUL characters
  int Weight = 0;                  // of its words
  std::vector<std::string> Words;  // distinct case-folded words, each cut to kMaxIndexedWordBytes
};
inline constexpr std::size_t kMaxIndexedWordBytes = 200;

// What the store keeps of an original: its text, weight and words.
TIndexedEntry IndexEntry(TLCID SourceLocale, std::string Original, std::string Translation);
// The distinct indexed words of a stored source text, sorted.
std::vector<std::string> IndexedWords(std::string_view SourceText);
// The indexed form of a word of a text (cut to kMaxIndexedWordBytes at a character boundary).
std::string IndexedWord(std::string_view Folded);

// A stored entry that may be similar to the one asked for.
struct TCandidate {
  std::string Original;
  std::string Translation;
  std::string SourceText;
  TDateTime LastUse = 0.0;
};

class TStore {
 public:
  virtual ~TStore() = default;

  virtual std::optional<std::string> Lookup(const TPair& Pair, const std::string& Original) = 0;
  // Stores the entries in the given order: a later one of the same original wins. Inside an open
  // transaction, as part of it; otherwise as one transaction.
  virtual void Add(const TPair& Pair, const std::vector<TIndexedEntry>& Entries, TDateTime Now) = 0;
  virtual void Begin() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;

  // Empty tags match any.
  virtual std::vector<TRepositoryEntry> List(const std::string& Source, const std::string& Target) = 0;
  virtual std::vector<TReplacedTranslation> History(const std::string& Source, const std::string& Target) = 0;
  // All entries of the pair, or the one of `Original`; the count removed.
  virtual int Remove(const TPair& Pair, const std::string* Original) = 0;

  // For each word, how many entries of the pair hold it (counted up to Cap).
  virtual std::vector<int> WordCounts(const TPair& Pair, const std::vector<std::string>& Words, int Cap) = 0;
  // The entries of the pair with a weight in [MinWeight, MaxWeight] whose words include some of
  // `Words` whose `Weights` add up to MinShared or more, each once.
  virtual std::vector<TCandidate> WithSharedWords(const TPair& Pair, const std::vector<std::string>& Words,
                                                  const std::vector<int>& Weights, int MinWeight,
                                                  int MaxWeight, int MinShared) = 0;
  // Every entry of the pair with a weight in [MinWeight, MaxWeight].
  virtual std::vector<TCandidate> WithWeight(const TPair& Pair, int MinWeight, int MaxWeight) = 0;

  // Whether the connection is gone (after a failure): the store is of no further use.
  virtual bool Lost() const { return false; }
};

// How many entries of a pair hold a word, as the store counted them once. The counts only tell which
// words to look up first, so they may grow stale without harm: they are kept as long as the
// connection.
class TWordCounts {
 public:
  std::vector<int> Get(TStore& Store, const TPair& Pair, const std::vector<std::string>& Words);
  void Clear() { counts_.clear(); }

  static constexpr int kCap = 5000;  // a word in more entries than this is common, however many

 private:
  std::unordered_map<std::string, int> counts_;  // by source, target and word
};

// The stored translations of the pair whose source is at least MinSimilarity (1..100) percent
// similar to `Text`, best first, at most Limit; their translations decoded in TargetLocale.
std::vector<TSuggestion> FindSimilar(TStore& Store, TWordCounts& Counts, const TPair& Pair,
                                     TLCID TargetLocale, std::string_view Text, int MinSimilarity,
                                     std::size_t Limit);

// `Text` (a message about the repository at `Location`) with every password of the location's URI
// replaced by "***": libpq quotes parts of a URI it cannot read.
std::string MaskPasswordsIn(std::string_view Text, std::string_view Location);

// The file's store, migrated to the current schema; nullptr when the file is missing and `Create`
// is false. EFileError naming the file when it is no repository or of a newer schema.
std::unique_ptr<TStore> OpenSqliteStore(const std::string& File, bool Create);
// The server's store, its schema created on first use. EVaqError with the server's message and the
// masked URI when it cannot be reached, or of a newer schema, or when libvaq_postgres.so (which
// holds it) cannot be loaded.
std::unique_ptr<TStore> OpenPostgresStore(const std::string& Uri);

}  // namespace vaq::repository
