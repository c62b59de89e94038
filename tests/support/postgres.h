// A database of its own on the PostgreSQL cluster that the tests were given, for the repository's
// server store. VAQ_TEST_POSTGRES names the cluster by the URI of a database to connect to for
// creating others, e.g. postgresql:///postgres?host=/tmp/vaq-pg&user=postgres (scripts/test.sh
// starts such a cluster). Without it the server tests are skipped.
#pragma once

#include <string>

namespace vaq::testing {

class TTestDatabase {
 public:
  // Whether a cluster is given.
  static bool Available();
  // Why the server tests are skipped when it is not.
  static const char* const kSkipReason;

  // Creates an empty database with a name of its own (UTF8, from template0).
  TTestDatabase();
  // Drops it, closing whatever connections are left.
  ~TTestDatabase();
  TTestDatabase(const TTestDatabase&) = delete;
  TTestDatabase& operator=(const TTestDatabase&) = delete;

  // Its connection URI.
  const std::string& Uri() const { return uri_; }
  // Runs SQL in it; a failure throws std::runtime_error with the server's message.
  void Exec(const std::string& sql) const;

 private:
  std::string name_;
  std::string uri_;
};

// The URI of database `name` on the cluster of `uri` (the path of the URI replaced).
std::string DatabaseUri(const std::string& uri, const std::string& name);

}  // namespace vaq::testing
