// The translation repository's file store, on SQLite.
#include <pwd.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/locale.h"
#include "host/core/text.h"
#include "repository_store.h"

namespace vaq::repository {
namespace {

struct CloseDatabase {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct FinalizeStatement {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

// How long a write waits for other processes' writes to the file. SQLite's lock is no queue: a
// waiting writer only retries now and then, so that several busy writers can keep one waiting for as
// long as they write.
constexpr int kBusyTimeoutMs = 60000;
// Lookups share one read transaction for this many calls: taking the file's locks for every single
// statement would cost more than the lookup. The write-ahead log lets other processes write meanwhile.
constexpr int kLookupsPerReadTransaction = 4096;

// The layout this program writes (PRAGMA user_version). Files of version 0 with a "translations"
// table are of the first layout, which kept several translations per original; they are migrated.
constexpr int kSchemaVersion = 1;

constexpr const char* kSchema =
    "CREATE TABLE translations ("
    " id INTEGER PRIMARY KEY, source TEXT NOT NULL, target TEXT NOT NULL, original BLOB NOT NULL,"
    " translation BLOB NOT NULL, source_text TEXT NOT NULL, weight INTEGER NOT NULL,"
    " added_by TEXT NOT NULL, last_use REAL NOT NULL, UNIQUE (source, target, original));"
    "CREATE INDEX translations_weight ON translations (source, target, weight);"
    // The similarity index: the distinct words of each entry's source, with the source's weight.
    "CREATE TABLE translation_words ("
    " source TEXT NOT NULL, target TEXT NOT NULL, word TEXT NOT NULL, weight INTEGER NOT NULL,"
    " entry INTEGER NOT NULL, PRIMARY KEY (source, target, word, weight, entry)) WITHOUT ROWID;"
    "CREATE TABLE translation_history ("
    " id INTEGER PRIMARY KEY, source TEXT NOT NULL, target TEXT NOT NULL, original BLOB NOT NULL,"
    " translation BLOB NOT NULL, added_by TEXT NOT NULL, last_use REAL NOT NULL,"
    " replaced_by TEXT NOT NULL, replaced_at REAL NOT NULL);"
    // A replaced translation goes to the history, whoever replaces it.
    "CREATE TRIGGER translations_replaced AFTER UPDATE OF translation ON translations"
    " WHEN OLD.translation IS NOT NEW.translation BEGIN"
    " INSERT INTO translation_history"
    "  (source, target, original, translation, added_by, last_use, replaced_by, replaced_at)"
    "  VALUES (OLD.source, OLD.target, OLD.original, OLD.translation, OLD.added_by, OLD.last_use,"
    "   NEW.added_by, NEW.last_use);"
    " END;";

constexpr const char* kAddSql =
    "INSERT INTO translations (source, target, original, translation, source_text, weight, added_by, "
    "last_use)"
    " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8) ON CONFLICT (source, target, original) DO UPDATE SET"
    " added_by = CASE WHEN translation = excluded.translation THEN added_by ELSE excluded.added_by END,"
    " translation = excluded.translation, last_use = excluded.last_use"
    " RETURNING id";
constexpr const char* kAddWordSql =
    "INSERT OR IGNORE INTO translation_words (source, target, word, weight, entry) VALUES (?1, ?2, ?3, ?4, "
    "?5)";
constexpr const char* kLookupSql =
    "SELECT translation FROM translations WHERE source = ?1 AND target = ?2 AND original = ?3";
constexpr const char* kCandidateColumns = "t.original, t.translation, t.source_text, t.last_use";

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

// Binds a tag, or NULL for "any" when it is empty.
void BindTagOrAny(sqlite3_stmt* statement, int index, const std::string& tag) {
  if (!tag.empty()) BindText(statement, index, tag);
}

std::string ColumnBytes(sqlite3_stmt* statement, int column) {
  const void* data = sqlite3_column_blob(statement, column);
  const int size = sqlite3_column_bytes(statement, column);
  return data ? std::string(static_cast<const char*>(data), static_cast<std::size_t>(size)) : std::string();
}

// Who adds: the login name of the process's user.
std::string LoginName() {
  if (const passwd* user = getpwuid(geteuid()); user && user->pw_name) return user->pw_name;
  if (const char* name = std::getenv("USER")) return name;
  return std::string();
}

class TSqliteStore final : public TStore {
 public:
  TSqliteStore(Database db, std::string file)
      : db_(std::move(db)), file_(std::move(file)), user_(LoginName()) {}

  std::optional<std::string> Lookup(const TPair& pair, const std::string& original) override {
    BeginRead();
    std::optional<std::string> found;
    {
      sqlite3_stmt* lookup = Cached(lookup_, kLookupSql);
      StatementUse use(lookup);
      BindText(lookup, 1, pair.Source);
      BindText(lookup, 2, pair.Target);
      BindBlob(lookup, 3, original);
      const int rc = sqlite3_step(lookup);
      if (rc != SQLITE_ROW && rc != SQLITE_DONE) Fail();
      if (rc == SQLITE_ROW) found = ColumnBytes(lookup, 0);
    }
    if (reading_ && ++lookups_ >= kLookupsPerReadTransaction) EndRead();
    return found;
  }

  void Add(const TPair& pair, const std::vector<TIndexedEntry>& entries, TDateTime now) override {
    EndRead();
    TWrite write(*this);
    for (const TIndexedEntry& entry : entries) AddOne(pair, entry, now, user_);
    write.Done();
  }

  void Begin() override {
    EndRead();
    Exec("BEGIN IMMEDIATE");
    transaction_ = true;
  }
  void Commit() override {
    Exec("COMMIT");
    transaction_ = false;
  }
  void Rollback() override {
    transaction_ = false;
    sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
  }

  std::vector<TRepositoryEntry> List(const std::string& source, const std::string& target) override {
    EndRead();
    std::vector<TRepositoryEntry> entries;
    Statement list = Prepare(
        "SELECT source, target, original, translation, last_use FROM translations"
        " WHERE (?1 IS NULL OR source = ?1) AND (?2 IS NULL OR target = ?2) ORDER BY source, target, "
        "original");
    BindTagOrAny(list.get(), 1, source);
    BindTagOrAny(list.get(), 2, target);
    Each(list.get(), [&](sqlite3_stmt* row) { entries.push_back(EntryOf(row, 0)); });
    return entries;
  }

  std::vector<TReplacedTranslation> History(const std::string& source, const std::string& target) override {
    EndRead();
    std::vector<TReplacedTranslation> history;
    Statement list = Prepare(
        "SELECT source, target, original, translation, last_use, added_by, replaced_by, replaced_at"
        " FROM translation_history WHERE (?1 IS NULL OR source = ?1) AND (?2 IS NULL OR target = ?2)"
        " ORDER BY source, target, original, id");
    BindTagOrAny(list.get(), 1, source);
    BindTagOrAny(list.get(), 2, target);
    Each(list.get(), [&](sqlite3_stmt* row) {
      history.push_back(
          {EntryOf(row, 0), ColumnBytes(row, 5), ColumnBytes(row, 6), sqlite3_column_double(row, 7)});
    });
    return history;
  }

  int Remove(const TPair& pair, const std::string* original) override {
    EndRead();
    TWrite write(*this);
    int removed = 0;
    if (!original) {
      Statement remove = Prepare("DELETE FROM translations WHERE source = ?1 AND target = ?2");
      BindText(remove.get(), 1, pair.Source);
      BindText(remove.get(), 2, pair.Target);
      Step(remove.get());
      removed = sqlite3_changes(db_.get());
      Statement words = Prepare("DELETE FROM translation_words WHERE source = ?1 AND target = ?2");
      BindText(words.get(), 1, pair.Source);
      BindText(words.get(), 2, pair.Target);
      Step(words.get());
    } else {
      Statement remove = Prepare(
          "DELETE FROM translations WHERE source = ?1 AND target = ?2 AND original = ?3"
          " RETURNING id, weight, source_text");
      BindText(remove.get(), 1, pair.Source);
      BindText(remove.get(), 2, pair.Target);
      BindBlob(remove.get(), 3, *original);
      struct TGone {
        sqlite3_int64 Id;
        int Weight;
        std::vector<std::string> Words;
      };
      std::vector<TGone> gone;
      Each(remove.get(), [&](sqlite3_stmt* row) {
        gone.push_back(
            {sqlite3_column_int64(row, 0), sqlite3_column_int(row, 1), IndexedWords(ColumnBytes(row, 2))});
      });
      Statement word = Prepare(
          "DELETE FROM translation_words WHERE source = ?1 AND target = ?2 AND word = ?3 AND weight = ?4"
          " AND entry = ?5");
      for (const TGone& entry : gone) {
        for (const std::string& text : entry.Words) {
          StatementUse use(word.get());
          BindText(word.get(), 1, pair.Source);
          BindText(word.get(), 2, pair.Target);
          BindText(word.get(), 3, text);
          sqlite3_bind_int(word.get(), 4, entry.Weight);
          sqlite3_bind_int64(word.get(), 5, entry.Id);
          Step(word.get());
        }
      }
      removed = static_cast<int>(gone.size());
    }
    write.Done();
    return removed;
  }

  std::vector<int> WordCounts(const TPair& pair, const std::vector<std::string>& words, int cap) override {
    EndRead();
    sqlite3_stmt* count = Cached(count_,
                                 "SELECT count(*) FROM (SELECT 1 FROM translation_words WHERE source = ?1"
                                 " AND target = ?2 AND word = ?3 LIMIT ?4)");
    std::vector<int> counts;
    for (const std::string& word : words) {
      StatementUse use(count);
      BindText(count, 1, pair.Source);
      BindText(count, 2, pair.Target);
      BindText(count, 3, word);
      sqlite3_bind_int(count, 4, cap);
      if (sqlite3_step(count) != SQLITE_ROW) Fail();
      counts.push_back(sqlite3_column_int(count, 0));
    }
    return counts;
  }

  std::vector<TCandidate> WithSharedWords(const TPair& pair, const std::vector<std::string>& words,
                                          const std::vector<int>& weights, int minWeight, int maxWeight,
                                          int minShared) override {
    EndRead();
    sqlite3_stmt* postings = Cached(postings_,
                                    "SELECT entry FROM translation_words WHERE source = ?1 AND target = ?2"
                                    " AND word = ?3 AND weight BETWEEN ?4 AND ?5");
    std::unordered_map<sqlite3_int64, int> shared;
    for (std::size_t i = 0; i < words.size(); ++i) {
      StatementUse use(postings);
      BindWordQuery(postings, pair, words[i], minWeight, maxWeight);
      Each(postings, [&](sqlite3_stmt* row) { shared[sqlite3_column_int64(row, 0)] += weights[i]; });
    }
    std::vector<sqlite3_int64> ids;
    for (const auto& [id, weight] : shared)
      if (weight >= minShared) ids.push_back(id);
    std::sort(ids.begin(), ids.end());  // in the file's order
    sqlite3_stmt* select = Cached(
        byId_, (std::string("SELECT ") + kCandidateColumns + " FROM translations t WHERE t.id = ?1").c_str());
    std::vector<TCandidate> candidates;
    for (const sqlite3_int64 id : ids) {
      StatementUse use(select);
      sqlite3_bind_int64(select, 1, id);
      Each(select, [&](sqlite3_stmt* row) { candidates.push_back(CandidateOf(row, 0)); });
    }
    return candidates;
  }

  std::vector<TCandidate> WithWeight(const TPair& pair, int minWeight, int maxWeight) override {
    EndRead();
    Statement select = Prepare((std::string("SELECT ") + kCandidateColumns +
                                " FROM translations t WHERE t.source = ?1 AND t.target = ?2"
                                " AND t.weight BETWEEN ?3 AND ?4")
                                   .c_str());
    BindText(select.get(), 1, pair.Source);
    BindText(select.get(), 2, pair.Target);
    sqlite3_bind_int(select.get(), 3, minWeight);
    sqlite3_bind_int(select.get(), 4, maxWeight);
    std::vector<TCandidate> candidates;
    Each(select.get(), [&](sqlite3_stmt* row) { candidates.push_back(CandidateOf(row, 0)); });
    return candidates;
  }

  // Brings the file to the current layout; a file of a newer one is refused.
  void Migrate() {
    int version = UserVersion();
    if (version == kSchemaVersion) return;
    if (version > kSchemaVersion) RefuseNewer(version);
    TWrite write(*this, "cannot be brought to this version's layout");
    version = UserVersion();  // another process may have done it meanwhile
    if (version > kSchemaVersion) RefuseNewer(version);
    if (version < kSchemaVersion) {
      if (HasTable("translations")) {
        MigrateFirstLayout();
      } else {
        Exec(kSchema);
      }
      Exec(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
    }
    write.Done();
  }

 private:
  // A write transaction of its own unless the caller's transaction is open: committed by Done,
  // rolled back when left without it.
  class TWrite {
   public:
    explicit TWrite(TSqliteStore& store, const char* failure = nullptr)
        : store_(store), own_(!store.transaction_) {
      if (!own_) return;
      if (sqlite3_exec(store_.db_.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        failure ? store_.Fail(failure) : store_.Fail();
    }
    ~TWrite() {
      if (own_ && !done_) sqlite3_exec(store_.db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
    TWrite(const TWrite&) = delete;
    TWrite& operator=(const TWrite&) = delete;
    void Done() {
      if (own_) store_.Exec("COMMIT");
      done_ = true;
    }

   private:
    TSqliteStore& store_;
    bool own_;
    bool done_ = false;
  };

  void AddOne(const TPair& pair, const TIndexedEntry& entry, TDateTime now, const std::string& user) {
    sqlite3_int64 id = 0;
    {
      sqlite3_stmt* add = Cached(add_, kAddSql);
      StatementUse use(add);
      BindText(add, 1, pair.Source);
      BindText(add, 2, pair.Target);
      BindBlob(add, 3, entry.Original);
      BindBlob(add, 4, entry.Translation);
      BindText(add, 5, entry.SourceText);
      sqlite3_bind_int(add, 6, entry.Weight);
      BindText(add, 7, user);
      sqlite3_bind_double(add, 8, now);
      if (sqlite3_step(add) != SQLITE_ROW) Fail();
      id = sqlite3_column_int64(add, 0);
      if (sqlite3_step(add) != SQLITE_DONE) Fail();
    }
    sqlite3_stmt* word = Cached(addWord_, kAddWordSql);
    for (const std::string& text : entry.Words) {
      StatementUse use(word);
      BindText(word, 1, pair.Source);
      BindText(word, 2, pair.Target);
      BindText(word, 3, text);
      sqlite3_bind_int(word, 4, entry.Weight);
      sqlite3_bind_int64(word, 5, id);
      Step(word);
    }
  }

  // The first layout kept every translation of an original with its last use. Each original keeps
  // its most recently used translation; the others go to the history, as if added in the order of
  // their use, so that nothing is lost.
  void MigrateFirstLayout() {
    Exec(
        "ALTER TABLE translations RENAME TO translations_first_layout;"
        "DROP INDEX IF EXISTS translations_lookup;");
    Exec(kSchema);
    Statement old = Prepare(
        "SELECT source, target, original, translation, last_use FROM translations_first_layout"
        " ORDER BY source, target, original, last_use, rowid");
    TPair pair;
    TLCID lcid = 0;
    Each(old.get(), [&](sqlite3_stmt* row) {
      const TRepositoryEntry entry = EntryOf(row, 0);
      if (entry.Source != pair.Source) lcid = StrToLCID(entry.Source);
      pair = {entry.Source, entry.Target};
      AddOne(pair, IndexEntry(lcid, entry.Original, entry.Translation), entry.LastUse, std::string());
    });
    Exec("DROP TABLE translations_first_layout");
  }

  int UserVersion() {
    Statement version = Prepare("PRAGMA user_version");
    if (sqlite3_step(version.get()) != SQLITE_ROW) Fail();
    return sqlite3_column_int(version.get(), 0);
  }

  bool HasTable(const std::string& name) {  // bound without a copy: must outlive the statement
    Statement table = Prepare("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1");
    BindText(table.get(), 1, name);
    const int rc = sqlite3_step(table.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) Fail();
    return rc == SQLITE_ROW;
  }

  [[noreturn]] void RefuseNewer(int version) const {
    throw EFileError(Format(
        "Translation repository %s was written by a newer version of vaq (layout %d; this version knows %d)",
        {file_, std::int64_t{version}, std::int64_t{kSchemaVersion}}));
  }

  static TRepositoryEntry EntryOf(sqlite3_stmt* row, int first) {
    return {ColumnBytes(row, first), ColumnBytes(row, first + 1), ColumnBytes(row, first + 2),
            ColumnBytes(row, first + 3), sqlite3_column_double(row, first + 4)};
  }
  static TCandidate CandidateOf(sqlite3_stmt* row, int first) {
    return {ColumnBytes(row, first), ColumnBytes(row, first + 1), ColumnBytes(row, first + 2),
            sqlite3_column_double(row, first + 3)};
  }
  static void BindWordQuery(sqlite3_stmt* statement, const TPair& pair, const std::string& word,
                            int minWeight, int maxWeight) {
    BindText(statement, 1, pair.Source);
    BindText(statement, 2, pair.Target);
    BindText(statement, 3, word);
    sqlite3_bind_int(statement, 4, minWeight);
    sqlite3_bind_int(statement, 5, maxWeight);
  }

  [[noreturn]] void Fail(const char* what = nullptr) const {
    const std::string reason = sqlite3_errmsg(db_.get());
    if (what) throw EFileError(Format("Translation repository %s %s: %s", {file_, what, reason}));
    throw EFileError(Format("Translation repository %s: %s", {file_, reason}));
  }

  void Exec(const char* sql) {
    if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail();
  }

  void Step(sqlite3_stmt* statement) {
    if (sqlite3_step(statement) != SQLITE_DONE) Fail();
  }

  template <typename Row>
  void Each(sqlite3_stmt* statement, const Row& row) {
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) row(statement);
    if (rc != SQLITE_DONE) Fail();
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

  // Starts the shared read transaction of the lookups unless a transaction is open.
  void BeginRead() {
    if (reading_ || !sqlite3_get_autocommit(db_.get())) return;
    Exec("BEGIN");
    reading_ = true;
    lookups_ = 0;
  }
  // Ends the lookups' read transaction, so that other writes become visible; everything but a
  // lookup calls it first.
  void EndRead() {
    if (!reading_) return;
    reading_ = false;
    Exec("COMMIT");
  }

  Database db_;
  std::string file_;
  std::string user_;
  bool transaction_ = false;  // the caller's
  bool reading_ = false;
  int lookups_ = 0;
  Statement lookup_, add_, addWord_, count_, postings_, byId_;
};

[[noreturn]] void FailOpening(sqlite3* db, const std::string& file) {
  throw EFileError(
      Format("Cannot open the translation repository %s: %s",
             {file, db ? std::string_view(sqlite3_errmsg(db)) : std::string_view("out of memory")}));
}

}  // namespace

std::unique_ptr<TStore> OpenSqliteStore(const std::string& File, bool Create) {
  if (!FileExists(File)) {
    if (!Create) return nullptr;
    if (const std::string dir = ExtractFilePath(File); !dir.empty()) ForceDirectories(dir);
  }
  sqlite3* raw = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | (Create ? SQLITE_OPEN_CREATE : 0);
  const int rc = sqlite3_open_v2(File.c_str(), &raw, flags, nullptr);
  Database db(raw);
  if (rc != SQLITE_OK) FailOpening(db.get(), File);
  sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
  // A file that is not a database shows here, at the first read.
  if (sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
    FailOpening(db.get(), File);
  // Kept in the file; a read-only database stays in its mode, which only costs speed.
  sqlite3_exec(db.get(), "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
  sqlite3_exec(db.get(), "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
  auto store = std::make_unique<TSqliteStore>(std::move(db), File);
  store->Migrate();
  return store;
}

}  // namespace vaq::repository
