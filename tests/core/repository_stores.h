// The repository tests run against both stores: a file in a temporary folder and a database of its
// own on the PostgreSQL cluster the tests were given (skipped, saying so, when none is).
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "host/core/conversions.h"
#include "host/core/repository.h"
#include "support/postgres.h"
#include "support/temp_dir.h"

namespace vaq {

enum class TStoreKind { File, Server };

class RepositoryStores : public ::testing::TestWithParam<TStoreKind> {
 protected:
  void SetUp() override {
    if (GetParam() == TStoreKind::Server) {
      if (!testing::TTestDatabase::Available()) GTEST_SKIP() << testing::TTestDatabase::kSkipReason;
      database_.emplace();
      location_ = database_->Uri();
    } else {
      location_ = dir_ / "sub/repo.db";
    }
    SetRepositoryLocation(location_);
    SetVaqClock([this] { return now_; });
  }
  void TearDown() override {
    SetRepositoryLocation("");  // closes the connection before the database goes
    SetVaqClock({});
    database_.reset();
  }
  static std::string Lookup(TLCID source, TLCID target, std::string text) {
    return GetTranslation(source, target, text) ? text : "<none>";
  }

  testing::TempDir dir_{testing::TempDir::kConfig};
  std::optional<testing::TTestDatabase> database_;
  std::string location_;
  TDateTime now_ = 46000.5;
};

inline std::string StoreName(const ::testing::TestParamInfo<TStoreKind>& info) {
  return info.param == TStoreKind::File ? "File" : "Server";
}

#define VAQ_INSTANTIATE_FOR_BOTH_STORES(Suite) \
  INSTANTIATE_TEST_SUITE_P(Stores, Suite, ::testing::Values(TStoreKind::File, TStoreKind::Server), StoreName)

}  // namespace vaq
