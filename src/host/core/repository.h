// The translation repository: translations remembered across projects, by locale pair and original.
// An SQLite database ("repository.db" in VaqConfigDir() unless SetRepositoryFile names another) with
// one table of (source tag, target tag, original, translation, last use). Locales are BCP-47 tags,
// texts the exact bytes of the form-text literals (8-bit, in the language's code page), last use a
// TDateTime. The connection and its statements stay open for the process.
//
// A database that cannot be opened or is not an SQLite file raises EFileError naming the file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/core/types.h"

namespace vaq {

// Selects the database file; empty selects the default. Closes the open connection.
void SetRepositoryFile(const std::string& FileName);
// The database file in use.
std::string RepositoryFile();

// Looks `Text` up; when a translation is stored, replaces `Text` by the most recently used one and
// answers true. A missing database file means "nothing found" and is not created (the answer is
// remembered until SetRepositoryFile or AddTranslation).
bool GetTranslation(TLCID SourceLocale, TLCID TargetLocale, std::string& Text);

// Stores a translation, or refreshes its last use to VaqNow(). Creates the database when missing.
// An unknown locale raises EVaqError.
void AddTranslation(TLCID SourceLocale, TLCID TargetLocale, const std::string& Original,
                    const std::string& Translation);

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

// The entries, by source, target, original and most recent use first; a locale of 0 matches any.
// Empty when the database file does not exist.
std::vector<TRepositoryEntry> ListTranslations(TLCID SourceLocale = 0, TLCID TargetLocale = 0);

// Removes the pair's entries (only those of `Original` when given); returns how many went.
int RemoveTranslations(TLCID SourceLocale, TLCID TargetLocale,
                       const std::optional<std::string>& Original = std::nullopt);

}  // namespace vaq
