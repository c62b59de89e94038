#include "support/postgres.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace vaq::testing {
namespace {

std::string Cluster() {
  const char* uri = std::getenv("VAQ_TEST_POSTGRES");
  return uri ? uri : "";
}

// Runs one statement on a fresh connection to `uri`.
void Run(const std::string& uri, const std::string& sql) {
  const std::unique_ptr<PGconn, decltype(&PQfinish)> connection(PQconnectdb(uri.c_str()), &PQfinish);
  if (PQstatus(connection.get()) != CONNECTION_OK)
    throw std::runtime_error("cannot connect to " + uri + ": " + PQerrorMessage(connection.get()));
  const std::unique_ptr<PGresult, decltype(&PQclear)> result(PQexec(connection.get(), sql.c_str()), &PQclear);
  const ExecStatusType status = PQresultStatus(result.get());
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
    throw std::runtime_error(sql + ": " + PQresultErrorMessage(result.get()));
}

}  // namespace

const char* const TTestDatabase::kSkipReason =
    "no PostgreSQL cluster given: set VAQ_TEST_POSTGRES to a connection URI (scripts/test.sh starts one)";

bool TTestDatabase::Available() {
  return !Cluster().empty();
}

std::string DatabaseUri(const std::string& uri, const std::string& name) {
  const std::size_t authority = uri.find("://") + 3;
  const std::size_t path = uri.find_first_of("/?", authority);
  if (path == std::string::npos) return uri + "/" + name;
  const std::size_t rest = uri.find('?', path);
  return uri.substr(0, path) + "/" + name + (rest == std::string::npos ? "" : uri.substr(rest));
}

TTestDatabase::TTestDatabase() {
  static std::atomic<int> counter{0};
  name_ = "vaq_test_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
  Run(Cluster(), "CREATE DATABASE " + name_ + " ENCODING 'UTF8' TEMPLATE template0");
  uri_ = DatabaseUri(Cluster(), name_);
}

TTestDatabase::~TTestDatabase() {
  try {
    Run(Cluster(), "DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
  } catch (const std::exception&) {
    // A database left behind goes with the cluster.
  }
}

void TTestDatabase::Exec(const std::string& sql) const {
  Run(uri_, sql);
}

}  // namespace vaq::testing
