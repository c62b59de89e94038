// The translation repository on SQLite.
#include "host/core/repository.h"

#include <sqlite3.h>

#include <memory>
#include <mutex>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/registry.h"
#include "host/core/text.h"

namespace vaq {
namespace {

struct CloseDatabase {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct FinalizeStatement {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

constexpr int kBusyTimeoutMs = 5000;
// Lookups share one read transaction for this many calls: taking the file's locks for every single
// statement would cost more than the lookup. The write-ahead log lets other processes write meanwhile.
constexpr int kLookupsPerReadTransaction = 4096;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS translations ("
    " source TEXT NOT NULL, target TEXT NOT NULL, original BLOB NOT NULL, translation BLOB NOT NULL,"
    " last_use REAL NOT NULL, UNIQUE (source, target, original, translation));"
    "CREATE INDEX IF NOT EXISTS translations_lookup ON translations (source, target, original, last_use);";

// Resets a statement when the caller is done with it, also on an exception.
class StatementUse {
 public:
  explicit StatementUse(sqlite3_stmt* statement) : statement_(statement) {}
  ~StatementUse() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
  }
  StatementUse(const StatementUse&) = delete;
  StatementUse& operator=(const StatementUse&) = delete;

 private:
  sqlite3_stmt* statement_;
};

void BindText(sqlite3_stmt* statement, int index, const std::string& text) {
  sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

void BindBlob(sqlite3_stmt* statement, int index, const std::string& bytes) {
  // A zero-length blob with a null pointer would be NULL; std::string::data() never is null.
  sqlite3_bind_blob(statement, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
}

std::string ColumnBytes(sqlite3_stmt* statement, int column) {
  const void* data = sqlite3_column_blob(statement, column);
  const int size = sqlite3_column_bytes(statement, column);
  return data ? std::string(static_cast<const char*>(data), static_cast<std::size_t>(size)) : std::string();
}

std::string Tag(TLCID lcid) {
  std::string tag = LCIDToStr(lcid, true);
  if (tag.empty()) throw EVaqError(Format("Unknown locale id %d for the translation repository", {lcid}));
  return tag;
}

// The process's connection to the repository, with the statements the lookups and adds reuse.
class TRepositoryConnection {
 public:
  std::mutex Mutex;

  void SetFile(const std::string& file) {
    Close();
    file_ = file;
  }

  std::string File() const {
    return file_.empty() ? IncludeTrailingPathDelimiter(VaqConfigDir()) + "repository.db" : file_;
  }

  // Opens the database unless it is open; false (and nothing created) when the file is missing and
  // `create` is false.
  bool Open(bool create) {
    if (db_) return true;
    if (!create && missing_) return false;
    const std::string file = File();
    if (!FileExists(file)) {
      if (!create) {
        missing_ = true;
        return false;
      }
      if (const std::string dir = ExtractFilePath(file); !dir.empty()) ForceDirectories(dir);
    }
    missing_ = false;
    sqlite3* raw = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(file.c_str(), &raw, flags, nullptr);
    Database db(raw);
    if (rc != SQLITE_OK) Fail(db.get(), file, "Cannot open the translation repository %s: %s");
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
    // A file that is not a database shows here, at the first read.
    if (sqlite3_exec(db.get(), kSchema, nullptr, nullptr, nullptr) != SQLITE_OK)
      Fail(db.get(), file, "Cannot open the translation repository %s: %s");
    // Kept in the file; a read-only database stays in its mode, which only costs speed.
    sqlite3_exec(db.get(), "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
    openedFile_ = file;
    db_ = std::move(db);
    return true;
  }

  void Close() {
    reading_ = false;
    lookup_.reset();
    add_.reset();
    db_.reset();
    missing_ = false;
  }

  [[noreturn]] void Fail(sqlite3* db, const std::string& file, const char* pattern) const {
    throw EFileError(Format(
        pattern, {file, db ? std::string_view(sqlite3_errmsg(db)) : std::string_view("out of memory")}));
  }
  [[noreturn]] void Fail() const { Fail(db_.get(), openedFile_, "Translation repository %s: %s"); }

  void Exec(const char* sql) {
    if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail();
  }

  Statement Prepare(const char* sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v3(db_.get(), sql, -1, SQLITE_PREPARE_PERSISTENT, &raw, nullptr) != SQLITE_OK) Fail();
    return Statement(raw);
  }

  sqlite3_stmt* Cached(Statement& statement, const char* sql) {
    if (!statement) statement = Prepare(sql);
    return statement.get();
  }

  sqlite3_stmt* Lookup() {
    return Cached(lookup_,
                  "SELECT translation FROM translations WHERE source = ?1 AND target = ?2 AND original = ?3"
                  " ORDER BY last_use DESC, rowid DESC LIMIT 1");
  }
  sqlite3_stmt* Add() {
    return Cached(add_,
                  "INSERT INTO translations (source, target, original, translation, last_use)"
                  " VALUES (?1, ?2, ?3, ?4, ?5) ON CONFLICT (source, target, original, translation)"
                  " DO UPDATE SET last_use = excluded.last_use");
  }

  sqlite3* Db() const { return db_.get(); }

  // Starts the shared read transaction of the lookups unless a transaction is open.
  void BeginRead() {
    if (reading_ || !sqlite3_get_autocommit(db_.get())) return;
    Exec("BEGIN");
    reading_ = true;
    lookups_ = 0;
  }
  // Counts a lookup; the read transaction ends after a while, so that other writes become visible.
  void LookupDone() {
    if (reading_ && ++lookups_ >= kLookupsPerReadTransaction) EndRead();
  }
  // Ends the lookups' read transaction; writes and listings call it first.
  void EndRead() {
    if (!reading_) return;
    reading_ = false;
    Exec("COMMIT");
  }

  // Tags of the last locale pair looked up; the merge asks for one pair many times.
  TLCID LastSource = 0, LastTarget = 0;
  std::string LastSourceTag, LastTargetTag;

 private:
  std::string file_;
  std::string openedFile_;
  bool missing_ = false;
  bool reading_ = false;
  int lookups_ = 0;
  Database db_;
  Statement lookup_;
  Statement add_;
};

TRepositoryConnection& Repository() {
  static TRepositoryConnection connection;
  return connection;
}

}  // namespace

void SetRepositoryFile(const std::string& FileName) {
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  repository.SetFile(FileName);
}

std::string RepositoryFile() {
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  return repository.File();
}

bool GetTranslation(TLCID SourceLocale, TLCID TargetLocale, std::string& Text) {
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  if (!repository.Open(false)) return false;
  if (SourceLocale != repository.LastSource || TargetLocale != repository.LastTarget) {
    repository.LastSourceTag = LCIDToStr(SourceLocale, true);
    repository.LastTargetTag = LCIDToStr(TargetLocale, true);
    repository.LastSource = SourceLocale;
    repository.LastTarget = TargetLocale;
  }
  repository.BeginRead();
  bool found = false;
  {
    sqlite3_stmt* lookup = repository.Lookup();
    StatementUse use(lookup);
    BindText(lookup, 1, repository.LastSourceTag);
    BindText(lookup, 2, repository.LastTargetTag);
    BindBlob(lookup, 3, Text);
    const int rc = sqlite3_step(lookup);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) repository.Fail();
    found = rc == SQLITE_ROW;
    if (found) Text = ColumnBytes(lookup, 0);
  }
  repository.LookupDone();
  return found;
}

void AddTranslation(TLCID SourceLocale, TLCID TargetLocale, const std::string& Original,
                    const std::string& Translation) {
  const std::string source = Tag(SourceLocale);
  const std::string target = Tag(TargetLocale);
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  repository.Open(true);
  repository.EndRead();
  sqlite3_stmt* add = repository.Add();
  StatementUse use(add);
  BindText(add, 1, source);
  BindText(add, 2, target);
  BindBlob(add, 3, Original);
  BindBlob(add, 4, Translation);
  sqlite3_bind_double(add, 5, VaqNow());
  if (sqlite3_step(add) != SQLITE_DONE) repository.Fail();
}

TRepositoryTransaction::TRepositoryTransaction() {
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  repository.Open(true);
  repository.EndRead();
  repository.Exec("BEGIN IMMEDIATE");
}

TRepositoryTransaction::~TRepositoryTransaction() {
  if (!open_) return;
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  if (repository.Db()) sqlite3_exec(repository.Db(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void TRepositoryTransaction::Commit() {
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  repository.Exec("COMMIT");
  open_ = false;
}

std::vector<TRepositoryEntry> ListTranslations(TLCID SourceLocale, TLCID TargetLocale) {
  std::vector<TRepositoryEntry> entries;
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  if (!repository.Open(false)) return entries;
  repository.EndRead();
  const std::string source = SourceLocale ? Tag(SourceLocale) : std::string();
  const std::string target = TargetLocale ? Tag(TargetLocale) : std::string();
  Statement list = repository.Prepare(
      "SELECT source, target, original, translation, last_use FROM translations"
      " WHERE (?1 IS NULL OR source = ?1) AND (?2 IS NULL OR target = ?2)"
      " ORDER BY source, target, original, last_use DESC, rowid DESC");
  if (SourceLocale) BindText(list.get(), 1, source);
  if (TargetLocale) BindText(list.get(), 2, target);
  int rc;
  while ((rc = sqlite3_step(list.get())) == SQLITE_ROW) {
    entries.push_back({ColumnBytes(list.get(), 0), ColumnBytes(list.get(), 1), ColumnBytes(list.get(), 2),
                       ColumnBytes(list.get(), 3), sqlite3_column_double(list.get(), 4)});
  }
  if (rc != SQLITE_DONE) repository.Fail();
  return entries;
}

int RemoveTranslations(TLCID SourceLocale, TLCID TargetLocale, const std::optional<std::string>& Original) {
  const std::string source = Tag(SourceLocale);
  const std::string target = Tag(TargetLocale);
  TRepositoryConnection& repository = Repository();
  std::lock_guard lock(repository.Mutex);
  if (!repository.Open(false)) return 0;
  repository.EndRead();
  Statement remove = repository.Prepare(
      "DELETE FROM translations WHERE source = ?1 AND target = ?2 AND (?3 IS NULL OR original = ?3)");
  BindText(remove.get(), 1, source);
  BindText(remove.get(), 2, target);
  if (Original) BindBlob(remove.get(), 3, *Original);
  if (sqlite3_step(remove.get()) != SQLITE_DONE) repository.Fail();
  return sqlite3_changes(repository.Db());
}

}  // namespace vaq
