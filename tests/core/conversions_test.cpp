#include "host/core/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "host/core/errors.h"

namespace vaq {
namespace {

TEST(Booleans, WriteTrueFalseAndReadTheUsualSpellings) {
  EXPECT_EQ(BooToStr(true), "True");
  EXPECT_EQ(BooToStr(false), "False");
  for (const char* yes : {"True", "TRUE", "true", "Yes", "yEs", "1"}) EXPECT_TRUE(StrToBoo(yes)) << yes;
  for (const char* no : {"False", "0", "", "No", "2", "-1", " True", "truex"})
    EXPECT_FALSE(StrToBoo(no)) << no;
}

TEST(Integers, StrictDecimalParse) {
  EXPECT_EQ(StrToInt("0"), 0);
  EXPECT_EQ(StrToInt("-1"), -1);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<std::int32_t>::min());
  for (const char* bad : {"", "-", "1a", " 1", "1 ", "$10", "2147483648", "1.0", "+"}) {
    EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
  }
}

TEST(Floats, TextIsShortestAndAlwaysAFloat) {
  EXPECT_EQ(VaqFloatToStr(0.1L), "0.1");
  EXPECT_EQ(VaqFloatToStr(15000.0L), "15000.0");
  EXPECT_EQ(VaqFloatToStr(-2.5), "-2.5");
  EXPECT_EQ(VaqFloatToStr(0.0), "0.0");
  EXPECT_EQ(VaqFloatToStr(1.5f), "1.5");
  EXPECT_EQ(VaqFloatToStr(0.1f), "0.1");
  EXPECT_EQ(VaqFloatToStr(1e20), "1e+20");
  EXPECT_EQ(VaqFloatToStr(std::numeric_limits<double>::infinity()), "Inf");
  EXPECT_EQ(VaqFloatToStr(-std::numeric_limits<long double>::infinity()), "-Inf");
  EXPECT_EQ(VaqFloatToStr(std::nan("")), "NaN");
}

TEST(Floats, EveryPrecisionRoundTripsExactly) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    std::uint64_t bits = random();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    if (!std::isfinite(d)) continue;
    EXPECT_EQ(VaqStrToDouble(VaqFloatToStr(d)), d);
    const float f = static_cast<float>(static_cast<std::uint32_t>(bits));
    if (std::isfinite(f)) {
      EXPECT_EQ(VaqStrToSingle(VaqFloatToStr(f)), f);
    }
    const long double x = static_cast<long double>(d) * (1.0L + static_cast<long double>(bits % 1000) / 3.0L);
    if (std::isfinite(x)) {
      EXPECT_EQ(VaqStrToFloat(VaqFloatToStr(x)), x);
    }
  }
  const long double extremes[] = {std::numeric_limits<long double>::max(),
                                  std::numeric_limits<long double>::min(),
                                  std::numeric_limits<long double>::denorm_min(), -0.0L, 1.0L / 3.0L};
  for (long double x : extremes) EXPECT_EQ(VaqStrToFloat(VaqFloatToStr(x)), x);
  EXPECT_EQ(VaqStrToDouble(VaqFloatToStr(std::numeric_limits<double>::denorm_min())),
            std::numeric_limits<double>::denorm_min());
  EXPECT_THROW(VaqStrToFloat("1e99999"), EConvertError);
  EXPECT_TRUE(std::signbit(VaqStrToFloat(VaqFloatToStr(-0.0L))));
  EXPECT_TRUE(std::isnan(VaqStrToDouble("NaN")));
  EXPECT_EQ(VaqStrToFloat("-Inf"), -std::numeric_limits<long double>::infinity());
}

TEST(Floats, RejectsWhatIsNotANumber) {
  for (const char* bad : {"", "1,5", "abc", "1.5x", ".", "--1", "1e", " 1"}) {
    EXPECT_THROW(VaqStrToFloat(bad), EConvertError) << bad;
  }
  EXPECT_EQ(VaqStrToDouble("+2"), 2.0);
  EXPECT_EQ(VaqStrToDouble("1E3"), 1000.0);
}

TEST(Status, NamesAndOrdinals) {
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(StrToStatusOrd(XStatusString[i]), i);
    EXPECT_EQ(StrToStatusOrd(std::to_string(i)), i);
  }
  EXPECT_EQ(StrToStatusOrd("translated"), 1);
  EXPECT_EQ(StrToStatusOrd("Bogus"), -1);
  EXPECT_EQ(StrToStatusOrd("4"), -1);
}

}  // namespace
}  // namespace vaq
