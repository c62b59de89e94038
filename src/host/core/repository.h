// The translation repository: translations remembered across projects, by language pair and
// original. One interface, two stores:
// - an SQLite file, the default ("repository.db" in VaqConfigDir()): nothing to set up;
// - a PostgreSQL database that a team shares: a location "postgresql://..." or "postgres://..."
//   (libpq's connection URI; "postgresql://" alone takes everything from libpq's environment, and
//   what a URI leaves out comes from there too: PGHOST, PGUSER, PGPASSWORD, ~/.pgpass, PGSSLMODE).
// The location in use is the one SetRepositoryLocation names, else the option "Repository", else
// the default file.
//
// Stored texts are the exact bytes of form-text literals ('Orders', 8-bit in the code page of their
// language), languages BCP-47 tags, times TDateTime. A language pair keeps one translation per
// original: adding another replaces it (the latest wins, also when several translators add at the
// same time) and the replaced one goes to the history, with who replaced it (the database role on a
// server, the login name for a file) and when. Both stores behave alike in every operation.
//
// Failures raise EVaqError naming the repository (a password in it masked) and the cause: a file
// that is no repository (EFileError), a server that cannot be reached (within 5 s unless the URI's
// connect_timeout or PGCONNECT_TIMEOUT says otherwise; the server's message), a repository written by
// a newer vaq. A server that could not be reached is not tried again until the location changes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/types.h"

namespace vaq {

// Selects the repository: a file name or a PostgreSQL URI; empty: the option "Repository", else the
// default file. Closes the open connection.
void SetRepositoryLocation(const std::string& Location);
// The location in use (a password in it is not masked: for showing it, use MaskRepositoryPassword).
std::string RepositoryLocation();
// Whether a location names a PostgreSQL server rather than a file.
bool IsServerLocation(std::string_view Location);
// The location with the password of a URI replaced by "***" (user information and "password=").
std::string MaskRepositoryPassword(std::string_view Location);
// Opens the repository now (connects to a server), so that a command can fail before it changes
// anything. A missing file is no failure: it is created when something is added.
void CheckRepository();

// Looks `Text` up; when a translation is stored, replaces `Text` by it and answers true. Exact: the
// original's bytes must be equal. A missing database file means "nothing found" and is not created.
bool GetTranslation(TLCID SourceLocale, TLCID TargetLocale, std::string& Text);

// Stores a translation (replacing another one of the same original, which goes to the history), or
// refreshes its last use to VaqNow(). Creates the database file when missing. An unknown locale
// raises EVaqError.
void AddTranslation(TLCID SourceLocale, TLCID TargetLocale, const std::string& Original,
                    const std::string& Translation);

struct TTranslationPair {
  std::string Original;
  std::string Translation;
};
// Stores many translations of one language pair in one transaction (inside a TRepositoryTransaction,
// in that one); of one original given twice the later one wins.
void AddTranslations(TLCID SourceLocale, TLCID TargetLocale, const std::vector<TTranslationPair>& Pairs);

// Makes the writes of its lifetime one transaction: Commit keeps them, destruction without Commit
// rolls them back. Not nested.
class TRepositoryTransaction {
 public:
  TRepositoryTransaction();
  ~TRepositoryTransaction();
  TRepositoryTransaction(const TRepositoryTransaction&) = delete;
  TRepositoryTransaction& operator=(const TRepositoryTransaction&) = delete;
  void Commit();

 private:
  bool open_ = true;
};

struct TRepositoryEntry {
  std::string Source;  // BCP-47 tags
  std::string Target;
  std::string Original;
  std::string Translation;
  TDateTime LastUse = 0.0;

  bool operator==(const TRepositoryEntry&) const = default;
};

// The entries, by source, target and original (bytewise); a locale of 0 matches any. Empty when the
// database file does not exist.
std::vector<TRepositoryEntry> ListTranslations(TLCID SourceLocale = 0, TLCID TargetLocale = 0);

// A translation that another one replaced.
struct TReplacedTranslation {
  TRepositoryEntry Entry;  // as it was stored
  std::string AddedBy;     // who stored it (empty when unknown: entries of older repository files)
  std::string ReplacedBy;  // who stored the translation that replaced it
  TDateTime Replaced = 0.0;

  bool operator==(const TReplacedTranslation&) const = default;
};
// The history, by source, target and original, each original's oldest first.
std::vector<TReplacedTranslation> ListReplacedTranslations(TLCID SourceLocale = 0, TLCID TargetLocale = 0);

// Removes the pair's entries (only those of `Original` when given); returns how many went. Their
// history stays.
int RemoveTranslations(TLCID SourceLocale, TLCID TargetLocale,
                       const std::optional<std::string>& Original = std::nullopt);

// A stored translation of a source similar to the one asked for.
struct TSuggestion {
  int Similarity = 0;    // percent (host/core/similarity.h)
  std::string Original;  // stored bytes, as TRepositoryEntry
  std::string Translation;
  std::string SourceText;       // the original as UTF-8 text (RepositoryText)
  std::string TranslationText;  // the translation as UTF-8 text
  TDateTime LastUse = 0.0;
};
inline constexpr int kDefaultMinSimilarity = 75;
inline constexpr int kDefaultSuggestions = 5;
// The stored translations of the pair whose source is at least MinSimilarity percent similar to
// `Text` (UTF-8, as the translator reads it), best first (then most recently used first), at most
// Limit of them. Never misses one: the index narrows the candidates down only as far as the
// threshold allows. MinSimilarity outside 1..100 raises EVaqError. GetTranslation stays exact.
std::vector<TSuggestion> FindSimilarTranslations(TLCID SourceLocale, TLCID TargetLocale,
                                                 std::string_view Text,
                                                 int MinSimilarity = kDefaultMinSimilarity,
                                                 int Limit = kDefaultSuggestions);

// The UTF-8 text of a stored value of the locale: a form-text string literal decoded ('It'#39's' ->
// It's), anything else its bytes read in the locale's code page.
std::string RepositoryText(TLCID Lcid, std::string_view Stored);

}  // namespace vaq
