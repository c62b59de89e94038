// The translation repository's server store, on PostgreSQL through libpq. Every value travels as a
// parameter, never inside the SQL text; originals and translations as binary bytea, so that every
// byte of a code page survives.
//
// This file is a library of its own, libvaq_postgres.so, that the core loads on the first use of a
// server (postgres_library.cpp): libpq brings some twenty libraries (TLS, Kerberos, LDAP) whose
// loading would cost every vaq process a few milliseconds at start.
#include <endian.h>
#include <libpq-fe.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "host/core/errors.h"
#include "host/core/text.h"
#include "repository_store.h"

namespace vaq::repository {
namespace {

struct FinishConnection {
  void operator()(PGconn* connection) const { PQfinish(connection); }
};
struct ClearResult {
  void operator()(PGresult* result) const { PQclear(result); }
};
using Connection = std::unique_ptr<PGconn, FinishConnection>;
using Result = std::unique_ptr<PGresult, ClearResult>;

// The layout this program writes, kept in vaq_repository_schema.
constexpr int kSchemaVersion = 1;
// Held while the schema is created, so that two first users do not both create it; the key is
// "vaq-rep1" in ASCII. A lock of the session, not of the transaction: the transaction that looks
// whether the schema is there must start after the wait, or it may not see the other's tables.
constexpr const char* kLockSchemaSql = "SELECT pg_advisory_lock(8530223609223147569)";
constexpr const char* kUnlockSchemaSql = "SELECT pg_advisory_unlock(8530223609223147569)";
// How long a connection attempt may take unless the URI or PGCONNECT_TIMEOUT says otherwise.
constexpr const char* kConnectTimeoutSeconds = "5";
// Adds sent before their results are read: a bounded pipeline cannot fill both directions' buffers.
constexpr std::size_t kPipelineDepth = 256;

constexpr const char* kSchema = R"sql(
CREATE TABLE vaq_repository_schema (version integer NOT NULL);
CREATE TABLE vaq_translations (
  id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  source text COLLATE "C" NOT NULL,
  target text COLLATE "C" NOT NULL,
  original bytea NOT NULL,
  translation bytea NOT NULL,
  source_text text NOT NULL,
  weight integer NOT NULL,
  added_by text NOT NULL,
  last_use double precision NOT NULL);
-- One translation per original; an original may be longer than a B-tree entry, its digest is not.
CREATE UNIQUE INDEX vaq_translations_original ON vaq_translations (source, target, sha256(original));
CREATE INDEX vaq_translations_weight ON vaq_translations (source, target, weight);
-- The similarity index: the distinct words of each entry's source, with the source's weight.
CREATE TABLE vaq_translation_words (
  source text COLLATE "C" NOT NULL,
  target text COLLATE "C" NOT NULL,
  word text COLLATE "C" NOT NULL,
  weight integer NOT NULL,
  entry bigint NOT NULL,
  PRIMARY KEY (source, target, word, weight, entry));
CREATE TABLE vaq_translation_history (
  id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  source text COLLATE "C" NOT NULL,
  target text COLLATE "C" NOT NULL,
  original bytea NOT NULL,
  translation bytea NOT NULL,
  added_by text NOT NULL,
  last_use double precision NOT NULL,
  replaced_by text NOT NULL,
  replaced_at double precision NOT NULL);
-- A replaced translation goes to the history, whoever replaces it and however.
CREATE FUNCTION vaq_keep_replaced_translation() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  INSERT INTO vaq_translation_history
    (source, target, original, translation, added_by, last_use, replaced_by, replaced_at)
    VALUES (OLD.source, OLD.target, OLD.original, OLD.translation, OLD.added_by, OLD.last_use,
            NEW.added_by, NEW.last_use);
  RETURN NULL;
END $$;
CREATE TRIGGER vaq_translations_replaced AFTER UPDATE OF translation ON vaq_translations
  FOR EACH ROW WHEN (OLD.translation IS DISTINCT FROM NEW.translation)
  EXECUTE FUNCTION vaq_keep_replaced_translation();
INSERT INTO vaq_repository_schema (version) VALUES (1);
)sql";

// Parameter types of the prepared statements.
constexpr Oid kInt8 = 20, kBytea = 17, kInt4 = 23, kText = 25, kFloat8 = 701;

struct TStatementDef {
  const char* Name;
  const char* Sql;
  std::vector<Oid> Types;
};

const TStatementDef kLookup{"vaq_lookup",
                            "SELECT translation FROM vaq_translations WHERE source = $1 AND target = $2"
                            " AND sha256(original) = sha256($3) AND original = $3",
                            {kText, kText, kBytea}};
// The entry and, for a new one, its words: one statement, so that a pipeline of them needs no answers.
const TStatementDef kAdd{
    "vaq_add",
    "WITH entry AS ("
    " INSERT INTO vaq_translations AS t"
    "  (source, target, original, translation, source_text, weight, added_by, last_use)"
    "  VALUES ($1, $2, $3, $4, $5, $6, current_user, $7)"
    "  ON CONFLICT (source, target, sha256(original)) DO UPDATE SET"
    "  added_by = CASE WHEN t.translation = EXCLUDED.translation THEN t.added_by ELSE EXCLUDED.added_by END,"
    "  translation = EXCLUDED.translation, last_use = EXCLUDED.last_use"
    "  RETURNING id)"
    " INSERT INTO vaq_translation_words (source, target, word, weight, entry)"
    " SELECT $1, $2, word, $6, entry.id FROM entry, unnest(string_to_array($8, ' ')) AS word"
    " ON CONFLICT DO NOTHING",
    {kText, kText, kBytea, kBytea, kText, kInt4, kFloat8, kText}};
const TStatementDef kWordCounts{
    "vaq_word_counts",
    "SELECT (SELECT count(*)::int4 FROM (SELECT 1 FROM vaq_translation_words w"
    "  WHERE w.source = $1 AND w.target = $2 AND w.word = q.word LIMIT $4) c)"
    " FROM unnest(string_to_array($3, ' ')) WITH ORDINALITY AS q(word, n) ORDER BY q.n",
    {kText, kText, kText, kInt4}};
// The entries holding enough of the words: read from the index alone, the rows fetched by id after.
const TStatementDef kWithSharedWords{
    "vaq_with_shared_words",
    "SELECT t.original, t.translation, t.source_text, t.last_use FROM vaq_translations t"
    " WHERE t.id = ANY (ARRAY("
    "  SELECT w.entry FROM vaq_translation_words w"
    "  JOIN unnest(string_to_array($3, ' '), string_to_array($4, ' ')::int4[]) AS q(word, weight)"
    "   ON w.word = q.word"
    "  WHERE w.source = $1 AND w.target = $2 AND w.weight BETWEEN $5 AND $6"
    "  GROUP BY w.entry HAVING sum(q.weight) >= $7))",
    {kText, kText, kText, kText, kInt4, kInt4, kInt4}};
const TStatementDef kWithWeight{"vaq_with_weight",
                                "SELECT original, translation, source_text, last_use FROM vaq_translations"
                                " WHERE source = $1 AND target = $2 AND weight BETWEEN $3 AND $4",
                                {kText, kText, kInt4, kInt4}};
const TStatementDef kList{"vaq_list",
                          "SELECT source, target, original, translation, last_use FROM vaq_translations"
                          " WHERE ($1::text IS NULL OR source = $1) AND ($2::text IS NULL OR target = $2)"
                          " ORDER BY source, target, original",
                          {kText, kText}};
const TStatementDef kHistory{
    "vaq_history",
    "SELECT source, target, original, translation, last_use, added_by, replaced_by, replaced_at"
    " FROM vaq_translation_history WHERE ($1::text IS NULL OR source = $1) AND ($2::text IS NULL OR target = "
    "$2)"
    " ORDER BY source, target, original, id",
    {kText, kText}};
const TStatementDef kRemovePair{
    "vaq_remove_pair", "DELETE FROM vaq_translations WHERE source = $1 AND target = $2", {kText, kText}};
const TStatementDef kRemovePairWords{"vaq_remove_pair_words",
                                     "DELETE FROM vaq_translation_words WHERE source = $1 AND target = $2",
                                     {kText, kText}};
const TStatementDef kRemoveOne{
    "vaq_remove_one",
    "DELETE FROM vaq_translations WHERE source = $1 AND target = $2"
    " AND sha256(original) = sha256($3) AND original = $3 RETURNING id, weight, source_text",
    {kText, kText, kBytea}};
const TStatementDef kRemoveWords{"vaq_remove_words",
                                 "DELETE FROM vaq_translation_words WHERE source = $1 AND target = $2"
                                 " AND word = ANY (string_to_array($3, ' ')) AND weight = $4 AND entry = $5",
                                 {kText, kText, kText, kInt4, kInt8}};

// The values of one statement: text in the text format, bytes in the binary one, absent as NULL.
class TParams {
 public:
  TParams& Text(std::string_view text) { return Add(std::string(text), 0); }
  TParams& Bytes(std::string_view bytes) { return Add(std::string(bytes), 1); }
  TParams& Int(std::int64_t value) { return Add(std::to_string(value), 0); }
  TParams& Float(double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;  // shortest exact form
    return Add(std::string(buffer, end), 0);
  }
  TParams& TextOrNull(const std::string& text) { return text.empty() ? Null() : Text(text); }
  TParams& Null() {
    values_.emplace_back();
    null_.push_back(true);
    formats_.push_back(0);
    return *this;
  }

  int Count() const { return static_cast<int>(values_.size()); }
  // Pointers into the values: valid while the object lives unchanged.
  void Fill(std::vector<const char*>& values, std::vector<int>& lengths) const {
    values.clear();
    lengths.clear();
    for (std::size_t i = 0; i < values_.size(); ++i) {
      values.push_back(null_[i] ? nullptr : values_[i].data());
      lengths.push_back(static_cast<int>(values_[i].size()));
    }
  }
  const int* Formats() const { return formats_.data(); }

 private:
  TParams& Add(std::string value, int format) {
    values_.push_back(std::move(value));
    null_.push_back(false);
    formats_.push_back(format);
    return *this;
  }
  std::vector<std::string> values_;
  std::vector<bool> null_;
  std::vector<int> formats_;
};

// Results come in the binary format: integers and floats big-endian, text and bytea as they are.
std::string Bytes(const PGresult* result, int row, int column) {
  return std::string(PQgetvalue(result, row, column),
                     static_cast<std::size_t>(PQgetlength(result, row, column)));
}
std::int64_t Integer(const PGresult* result, int row, int column) {
  const char* value = PQgetvalue(result, row, column);
  if (PQgetlength(result, row, column) == 4) {
    std::uint32_t bits;
    std::memcpy(&bits, value, 4);
    return static_cast<std::int32_t>(be32toh(bits));
  }
  std::uint64_t bits;
  std::memcpy(&bits, value, 8);
  return static_cast<std::int64_t>(be64toh(bits));
}
double Float(const PGresult* result, int row, int column) {
  std::uint64_t bits;
  std::memcpy(&bits, PQgetvalue(result, row, column), 8);
  bits = be64toh(bits);
  double value;
  std::memcpy(&value, &bits, 8);
  return value;
}

std::string JoinWords(const std::vector<std::string>& words) {
  std::string joined;
  for (const std::string& word : words) {
    if (!joined.empty()) joined += ' ';
    joined += word;
  }
  return joined;
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

class TPostgresStore final : public TStore {
 public:
  TPostgresStore(Connection connection, std::string shown)
      : db_(std::move(connection)), shown_(std::move(shown)) {}

  std::optional<std::string> Lookup(const TPair& pair, const std::string& original) override {
    const Result result =
        Exec(kLookup, TParams().Text(pair.Source).Text(pair.Target).Bytes(original), PGRES_TUPLES_OK);
    if (PQntuples(result.get()) == 0) return std::nullopt;
    return Bytes(result.get(), 0, 0);
  }

  void Add(const TPair& pair, const std::vector<TIndexedEntry>& entries, TDateTime now) override {
    Prepare(kAdd);
    TWrite write(*this);
    std::size_t next = 0;
    while (next < entries.size()) {
      const std::size_t end = std::min(entries.size(), next + kPipelineDepth);
      AddPipelined(pair, entries, next, end, now);
      next = end;
    }
    write.Done();
  }

  void Begin() override {
    Command("BEGIN");
    transaction_ = true;
  }
  void Commit() override {
    Command("COMMIT");
    transaction_ = false;
  }
  void Rollback() override {
    transaction_ = false;
    if (!Lost()) PQclear(PQexec(db_.get(), "ROLLBACK"));
  }

  std::vector<TRepositoryEntry> List(const std::string& source, const std::string& target) override {
    const Result result = Exec(kList, TParams().TextOrNull(source).TextOrNull(target), PGRES_TUPLES_OK);
    std::vector<TRepositoryEntry> entries;
    for (int row = 0; row < PQntuples(result.get()); ++row) entries.push_back(EntryOf(result.get(), row));
    return entries;
  }

  std::vector<TReplacedTranslation> History(const std::string& source, const std::string& target) override {
    const Result result = Exec(kHistory, TParams().TextOrNull(source).TextOrNull(target), PGRES_TUPLES_OK);
    std::vector<TReplacedTranslation> history;
    for (int row = 0; row < PQntuples(result.get()); ++row) {
      history.push_back({EntryOf(result.get(), row), Bytes(result.get(), row, 5), Bytes(result.get(), row, 6),
                         Float(result.get(), row, 7)});
    }
    return history;
  }

  int Remove(const TPair& pair, const std::string* original) override {
    TWrite write(*this);
    int removed = 0;
    if (!original) {
      const Result result =
          Exec(kRemovePair, TParams().Text(pair.Source).Text(pair.Target), PGRES_COMMAND_OK);
      removed = std::atoi(PQcmdTuples(result.get()));
      Exec(kRemovePairWords, TParams().Text(pair.Source).Text(pair.Target), PGRES_COMMAND_OK);
    } else {
      const Result gone =
          Exec(kRemoveOne, TParams().Text(pair.Source).Text(pair.Target).Bytes(*original), PGRES_TUPLES_OK);
      removed = PQntuples(gone.get());
      for (int row = 0; row < removed; ++row) {
        Exec(kRemoveWords,
             TParams()
                 .Text(pair.Source)
                 .Text(pair.Target)
                 .Text(JoinWords(IndexedWords(Bytes(gone.get(), row, 2))))
                 .Int(Integer(gone.get(), row, 1))
                 .Int(Integer(gone.get(), row, 0)),
             PGRES_COMMAND_OK);
      }
    }
    write.Done();
    return removed;
  }

  std::vector<int> WordCounts(const TPair& pair, const std::vector<std::string>& words, int cap) override {
    const Result result =
        Exec(kWordCounts, TParams().Text(pair.Source).Text(pair.Target).Text(JoinWords(words)).Int(cap),
             PGRES_TUPLES_OK);
    std::vector<int> counts;
    for (int row = 0; row < PQntuples(result.get()); ++row)
      counts.push_back(static_cast<int>(Integer(result.get(), row, 0)));
    if (counts.size() != words.size())
      throw EVaqError(Format("Translation repository %s: %s", {shown_, "word counts lost"}));
    return counts;
  }

  std::vector<TCandidate> WithSharedWords(const TPair& pair, const std::vector<std::string>& words,
                                          const std::vector<int>& weights, int minWeight, int maxWeight,
                                          int minShared) override {
    std::string weightList;
    for (const int weight : weights) weightList += (weightList.empty() ? "" : " ") + std::to_string(weight);
    return Candidates(Exec(kWithSharedWords,
                           TParams()
                               .Text(pair.Source)
                               .Text(pair.Target)
                               .Text(JoinWords(words))
                               .Text(weightList)
                               .Int(minWeight)
                               .Int(maxWeight)
                               .Int(minShared),
                           PGRES_TUPLES_OK));
  }

  std::vector<TCandidate> WithWeight(const TPair& pair, int minWeight, int maxWeight) override {
    return Candidates(Exec(kWithWeight,
                           TParams().Text(pair.Source).Text(pair.Target).Int(minWeight).Int(maxWeight),
                           PGRES_TUPLES_OK));
  }

  bool Lost() const override { return PQstatus(db_.get()) != CONNECTION_OK; }

  // Creates the schema in an empty database; refuses a newer one.
  void EnsureSchema() {
    int version = SchemaVersion();
    if (version == 0) {
      Check(Result(PQexec(db_.get(), kLockSchemaSql)).get(), PGRES_TUPLES_OK);
      try {
        version = SchemaVersion();  // another first user may have created it meanwhile
        if (version == 0) {
          CheckEncoding();
          Command("BEGIN");
          Command(kSchema);
          Command("COMMIT");
          version = kSchemaVersion;
        }
      } catch (...) {
        PQclear(PQexec(db_.get(), "ROLLBACK"));
        PQclear(PQexec(db_.get(), kUnlockSchemaSql));
        throw;
      }
      PQclear(PQexec(db_.get(), kUnlockSchemaSql));
    }
    if (version > kSchemaVersion) {
      throw EVaqError(Format(
          "Translation repository %s was set up by a newer version of vaq (schema %d; this version knows %d)",
          {shown_, std::int64_t{version}, std::int64_t{kSchemaVersion}}));
    }
  }

 private:
  // A transaction of its own unless the caller's is open: committed by Done, rolled back when left
  // without it.
  class TWrite {
   public:
    explicit TWrite(TPostgresStore& store) : store_(store), own_(!store.transaction_) {
      if (own_) store_.Command("BEGIN");
    }
    ~TWrite() {
      if (own_ && !done_ && !store_.Lost()) PQclear(PQexec(store_.db_.get(), "ROLLBACK"));
    }
    TWrite(const TWrite&) = delete;
    TWrite& operator=(const TWrite&) = delete;
    void Done() {
      if (own_) store_.Command("COMMIT");
      done_ = true;
    }

   private:
    TPostgresStore& store_;
    bool own_;
    bool done_ = false;
  };

  // Sends entries [begin, end) without waiting for each answer, then reads all answers.
  void AddPipelined(const TPair& pair, const std::vector<TIndexedEntry>& entries, std::size_t begin,
                    std::size_t end, TDateTime now) {
    if (PQenterPipelineMode(db_.get()) != 1) Fail("cannot send a batch");
    std::string failure;
    std::vector<const char*> values;
    std::vector<int> lengths;
    for (std::size_t i = begin; i < end && failure.empty(); ++i) {
      const TIndexedEntry& entry = entries[i];
      TParams params;
      params.Text(pair.Source)
          .Text(pair.Target)
          .Bytes(entry.Original)
          .Bytes(entry.Translation)
          .Text(entry.SourceText)
          .Int(entry.Weight)
          .Float(now)
          .Text(JoinWords(entry.Words));
      params.Fill(values, lengths);
      if (PQsendQueryPrepared(db_.get(), kAdd.Name, params.Count(), values.data(), lengths.data(),
                              params.Formats(), 1) != 1)
        failure = PQerrorMessage(db_.get());
    }
    if (PQpipelineSync(db_.get()) != 1 && failure.empty()) failure = PQerrorMessage(db_.get());
    // Every answer up to the synchronisation point is read, also after a failure. One statement's
    // answers end with a null result; two in a row mean that nothing more will come.
    int ends = 0;
    for (;;) {
      const Result result(PQgetResult(db_.get()));
      if (!result) {
        if (++ends > 2 || Lost()) {
          if (failure.empty()) failure = PQerrorMessage(db_.get());
          break;
        }
        continue;
      }
      ends = 0;
      const ExecStatusType status = PQresultStatus(result.get());
      if (status == PGRES_PIPELINE_SYNC) break;
      if (status == PGRES_FATAL_ERROR && failure.empty()) failure = PQresultErrorMessage(result.get());
      if (status == PGRES_FATAL_ERROR && Lost()) break;
    }
    PQexitPipelineMode(db_.get());
    if (!failure.empty())
      throw EVaqError(Format("Translation repository %s: %s", {shown_, Trimmed(failure)}));
  }

  int SchemaVersion() {
    const Result exists(PQexecParams(db_.get(), "SELECT to_regclass('vaq_repository_schema') IS NOT NULL", 0,
                                     nullptr, nullptr, nullptr, nullptr, 0));
    Check(exists.get(), PGRES_TUPLES_OK);
    if (std::string_view(PQgetvalue(exists.get(), 0, 0)) != "t") return 0;
    const Result version(PQexecParams(db_.get(), "SELECT max(version) FROM vaq_repository_schema", 0, nullptr,
                                      nullptr, nullptr, nullptr, 0));
    Check(version.get(), PGRES_TUPLES_OK);
    return std::atoi(PQgetvalue(version.get(), 0, 0));
  }

  // Texts of every language live in one database: it must hold Unicode.
  void CheckEncoding() {
    const char* encoding = PQparameterStatus(db_.get(), "server_encoding");
    if (encoding && std::string_view(encoding) != "UTF8") {
      throw EVaqError(
          Format("Translation repository %s: the database's encoding is %s; the repository needs UTF8 "
                 "(CREATE DATABASE ... ENCODING 'UTF8' TEMPLATE template0)",
                 {shown_, encoding}));
    }
  }

  void Prepare(const TStatementDef& statement) {
    if (std::find(prepared_.begin(), prepared_.end(), statement.Name) != prepared_.end()) return;
    const Result result(PQprepare(db_.get(), statement.Name, statement.Sql,
                                  static_cast<int>(statement.Types.size()), statement.Types.data()));
    Check(result.get(), PGRES_COMMAND_OK);
    prepared_.push_back(statement.Name);
  }

  Result Exec(const TStatementDef& statement, const TParams& params, ExecStatusType expected) {
    Prepare(statement);
    std::vector<const char*> values;
    std::vector<int> lengths;
    params.Fill(values, lengths);
    Result result(PQexecPrepared(db_.get(), statement.Name, params.Count(), values.data(), lengths.data(),
                                 params.Formats(), 1));
    Check(result.get(), expected);
    return result;
  }

  void Command(const char* sql) {
    const Result result(PQexec(db_.get(), sql));
    Check(result.get(), PGRES_COMMAND_OK);
  }

  void Check(const PGresult* result, ExecStatusType expected) const {
    if (result && PQresultStatus(result) == expected) return;
    Fail(nullptr, result);
  }

  [[noreturn]] void Fail(const char* what, const PGresult* result = nullptr) const {
    std::string reason = Trimmed(result ? PQresultErrorMessage(result) : "");
    if (reason.empty()) reason = Trimmed(PQerrorMessage(db_.get()));
    if (what) reason = std::string(what) + ": " + reason;
    throw EVaqError(Format("Translation repository %s: %s", {shown_, reason}));
  }

  static TRepositoryEntry EntryOf(const PGresult* result, int row) {
    return {Bytes(result, row, 0), Bytes(result, row, 1), Bytes(result, row, 2), Bytes(result, row, 3),
            Float(result, row, 4)};
  }

  static std::vector<TCandidate> Candidates(const Result& result) {
    std::vector<TCandidate> candidates;
    for (int row = 0; row < PQntuples(result.get()); ++row) {
      candidates.push_back({Bytes(result.get(), row, 0), Bytes(result.get(), row, 1),
                            Bytes(result.get(), row, 2), Float(result.get(), row, 3)});
    }
    return candidates;
  }

  Connection db_;
  std::string shown_;  // the URI as messages show it
  bool transaction_ = false;
  std::vector<const char*> prepared_;
};

std::unique_ptr<TStore> ConnectPostgresStore(const std::string& Uri) {
  const std::string shown = MaskRepositoryPassword(Uri);
  // In this order: the URI overrides the defaults before it, nothing overrides the encoding after it.
  // An empty value lets libpq take the environment's (PGCONNECT_TIMEOUT).
  const char* timeout = std::getenv("PGCONNECT_TIMEOUT") ? "" : kConnectTimeoutSeconds;
  const char* keywords[] = {"connect_timeout", "application_name", "dbname", "client_encoding", nullptr};
  const char* values[] = {timeout, "vaq", Uri.c_str(), "UTF8", nullptr};
  Connection connection(PQconnectdbParams(keywords, values, 1));
  if (!connection)
    throw EVaqError(Format("Cannot connect to the translation repository %s: out of memory", {shown}));
  if (PQstatus(connection.get()) != CONNECTION_OK) {
    throw EVaqError(Format("Cannot connect to the translation repository %s: %s",
                           {shown, MaskPasswordsIn(Trimmed(PQerrorMessage(connection.get())), Uri)}));
  }
  auto store = std::make_unique<TPostgresStore>(std::move(connection), shown);
  store->EnsureSchema();
  return store;
}

}  // namespace
}  // namespace vaq::repository

// The library's entry point, found by name: the store of the server at `Uri`, or the error.
extern "C" __attribute__((visibility("default"))) void vaq_open_postgres_store(
    const std::string& Uri, std::unique_ptr<vaq::repository::TStore>& Store) {
  Store = vaq::repository::ConnectPostgresStore(Uri);
}
