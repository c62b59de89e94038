// The status line of long work: count of total, the current item, elapsed time, and a long name
// that gives way from its start so that the line fits the terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "host/core/progress.h"

namespace vaq {
namespace {

using std::chrono::seconds;

TEST(ProgressLine, CountNameAndTimeFitTheTerminal) {
  EXPECT_EQ(TProgress::StatusLine(3, 120, "forms/Orders.rux", seconds(67), 80),
            "3/120  forms/Orders.rux  1:07");
  EXPECT_EQ(TProgress::StatusLine(4, 0, "a.ruz", seconds(5), 0), "4  a.ruz  0:05");  // total unknown
  // 40 columns: the name keeps its end.
  const std::string line =
      TProgress::StatusLine(7, 9, "very/long/folder/names/and/then/Orders.rux", seconds(0), 40);
  EXPECT_EQ(line, "7/9  .../names/and/then/Orders.rux  0:00");
  EXPECT_LE(line.size(), 40u);
  // A name of several-byte characters is never cut inside one.
  const std::string cyrillic = TProgress::StatusLine(1, 1, "Заказы/Заказы.rux", seconds(0), 25);
  EXPECT_LE(cyrillic.size(), 25u);
  EXPECT_NE(static_cast<unsigned char>(cyrillic[cyrillic.find("...") + 3]) & 0xC0, 0x80);
  EXPECT_EQ(TProgress::StatusLine(100, 100, "x", seconds(0), 5), "100/1");
}

}  // namespace
}  // namespace vaq
