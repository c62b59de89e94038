#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "host/core/conversions.h"
#include "host/core/errors.h"
#include "host/core/files.h"

namespace vaq {
namespace {

class FileDates : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vaq-dates-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    file_ = (dir_ / "form.rux").string();
    std::ofstream(file_) << "object Form1: TForm1\nend\n";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
  std::string file_;
};

TEST_F(FileDates, MissingFileHasNoDate) {
  EXPECT_EQ(DateOfFile((dir_ / "none").string()), -1.0);
}

TEST_F(FileDates, SetDateIsReadBackExactly) {
  // Dates with whole milliseconds, in winter and summer, before and after 1970.
  for (const char* text : {"2026-12-06 14:05:09.250", "2026-07-01 00:00:00.001", "1999-12-31 23:59:59.999",
                           "1960-03-15 08:30:00.000", "2038-01-19 03:14:08.000"}) {
    const TDateTime date = VaqStrToDateTime(text);
    SetDateOfFile(file_, date);
    EXPECT_EQ(DateOfFile(file_), date) << text;
    EXPECT_EQ(VaqDateTimeToStr(DateOfFile(file_)), text);
  }
}

TEST_F(FileDates, DateOfFileMatchesLocalTime) {
  const TDateTime before = VaqNow();
  std::ofstream(file_) << "changed";
  const TDateTime date = DateOfFile(file_);
  EXPECT_GE(date, before - 1.0 / 86400);
  EXPECT_LE(date, VaqNow() + 1.0 / 86400);
}

TEST_F(FileDates, SetDateOfAMissingFileFails) {
  EXPECT_THROW(SetDateOfFile((dir_ / "none").string(), 46000.5), EFileError);
}

TEST(DateText, KnownDays) {
  EXPECT_EQ(VaqDateTimeToStr(0.0), "1899-12-30 00:00:00.000");
  EXPECT_EQ(VaqDateTimeToStr(2.75), "1900-01-01 18:00:00.000");
  EXPECT_EQ(VaqDateTimeToStr(46362.5), "2026-12-06 12:00:00.000");
  EXPECT_EQ(VaqDateTimeToStr(-1.25), "1899-12-28 18:00:00.000");
  EXPECT_EQ(VaqStrToDateTime("2026-12-06"), 46362.0);
  EXPECT_EQ(VaqStrToDateTime("2026-12-06T12:00"), 46362.5);
}

TEST(DateText, RejectsMalformedDates) {
  for (const char* bad : {"", "2026-13-01", "2026-02-30", "2026-12-06 24:00", "2026/12/06", "2026-12-06 12",
                          "2026-12-06 12:00:00.5", "yesterday"}) {
    EXPECT_THROW(VaqStrToDateTime(bad), EConvertError) << bad;
  }
}

TEST(DateText, GridDateBecomesFloatText) {
  EXPECT_EQ(StrDateToStrFloat("2026-12-06 12:00:00.000"), "46362.5");
  EXPECT_EQ(StrDateToStrFloat("46362.25"), "46362.25");
  EXPECT_THROW(StrDateToStrFloat("noon"), EConvertError);
}

TEST(Clock, TestsCanFixIt) {
  SetVaqClock([] { return 46362.5; });
  EXPECT_EQ(VaqNow(), 46362.5);
  SetVaqClock({});
  EXPECT_GT(VaqNow(), 46000.0);
}

}  // namespace
}  // namespace vaq
