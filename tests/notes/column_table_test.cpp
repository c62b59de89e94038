#include "notes/column_table.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace rux {
namespace {

// The rows' texts joined by '|', for one byte-exact comparison.
template <typename Field>
std::string Joined(Field field) {
  std::string all;
  for (const vaq::TColInfo& row : VaqColInfo) all += field(row) + "|";
  return all;
}

TEST(ColumnTable, RowsAndKeysAreByteExact) {
  ASSERT_EQ(VaqColInfo.size(), 15u);
  EXPECT_EQ(Joined([](const vaq::TColInfo& r) { return r.Key; }),
            "|ID:|\004Orig:|\004Status:|\004Curr:|\004Created:|\004Modified:|\004PrevOrig:|\004PrevCurr:|"
            "\004Comment:|\004Localize:|\004Order:|\004Type:|\004Open:|\004Close:|");
  EXPECT_EQ(Joined([](const vaq::TColInfo& r) {
              return std::to_string(r.IsColumn) + std::to_string(r.CoreColumn) + std::to_string(r.Reserved1) +
                     std::to_string(r.Reserved2);
            }),
            "1000|1100|1200|1600|1300|1700|1800|1400|1500|1900|0000|0000|0000|0000|0000|");
  for (vaq::TVaqAllColId id = 1; id <= MaxColId; ++id) EXPECT_EQ(ColumnKey(id), VaqColInfo[id].Key);
}

TEST(ColumnTable, KeyOfRowNumberColumnOrUnknownIdIsAnError) {
  EXPECT_THROW(ColumnKey(ColIndex), std::out_of_range);
  EXPECT_THROW(ColumnKey(15), std::out_of_range);
}

TEST(ColumnTable, DefaultColumnOrder) {
  const std::array<vaq::TVaqAllColId, 10> expected = {0, 1, 2, 3, 4, 7, 8, 5, 6, 9};
  EXPECT_EQ(DefColIds, expected);
}

TEST(ColumnTable, ResourceStringsById) {
  EXPECT_EQ(FindResString(65520), "Forms");
  EXPECT_EQ(FindResString(65521), "");
  EXPECT_EQ(FindResString(65530), "Comment");
  EXPECT_EQ(FindResString(65519), std::nullopt);
  EXPECT_EQ(FindResString(65531), std::nullopt);
}

TEST(ColumnTable, CaptionsLoadForGridColumnsAndReleaseForAllRows) {
  VaqColInfo[ColClose].Caption = "stale";  // rows without caption are released too
  LoadColumnCaptions();
  EXPECT_EQ(Joined([](const vaq::TColInfo& r) { return r.Caption; }),
            "|Id|Original value|Status|Current value|Created|Modified|Previous original Value|"
            "Previous current Value|Comment|||||stale|");
  ReleaseColumnCaptions();
  EXPECT_EQ(Joined([](const vaq::TColInfo& r) { return r.Caption; }), std::string(15, '|'));
  EXPECT_EQ(VaqColInfo[ColOrig].Key, "\004Orig:");  // keys stay
}

}  // namespace
}  // namespace rux
