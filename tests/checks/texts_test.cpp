// The pieces the notes-only checks stand on: accelerators and placeholders of texts (the decoding
// of form-text strings is the form-value library's, tests/core/form_values_test.cpp).
#include <gtest/gtest.h>

#include "checks/string_checks.h"

namespace rux::checks {
namespace {

TEST(Accelerators, TheLetterAfterTheFirstSingleAmpersand) {
  EXPECT_EQ(AcceleratorOf(u"&Open..."), U'o');
  EXPECT_EQ(AcceleratorOf(u"E&xit"), U'x');
  EXPECT_EQ(AcceleratorOf(u"Save && &close"), U'c');
  EXPECT_EQ(AcceleratorOf(u"&Über"), U'ü');  // case-folded, so "&Ü" and "&ü" clash
  EXPECT_FALSE(AcceleratorOf(u"Save && close"));
  EXPECT_FALSE(AcceleratorOf(u"Plain"));
  EXPECT_FALSE(AcceleratorOf(u"End&"));
  EXPECT_FALSE(AcceleratorOf(u"Save & close"));
}

TEST(Placeholders, FormatAndBraceStyles) {
  EXPECT_EQ(PlaceholdersOf(u"%s of %d"), (std::vector<std::string>{"%s", "%d"}));
  EXPECT_EQ(PlaceholdersOf(u"%1:s %0:d %-10s %.2f %*d %ld"),
            (std::vector<std::string>{"%1:s", "%0:d", "%-10s", "%.2f", "%*d", "%ld"}));
  EXPECT_EQ(PlaceholdersOf(u"{0} and {1:N2}, {{literal}}"), (std::vector<std::string>{"{0}", "{1:N2}"}));
  EXPECT_TRUE(PlaceholdersOf(u"100 % sure, 50%% off, {name}, %").empty());
}

}  // namespace
}  // namespace rux::checks
