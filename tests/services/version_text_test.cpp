// Version texts: read like atoi and atof, but bounded.
#include "services/version_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace tunova {
namespace {

TEST(VersionTextTest, LeadingIntegersReadLikeAtoiAndSaturate) {
    EXPECT_EQ(ReadLeadingInteger("3"), 3);
    EXPECT_EQ(ReadLeadingInteger("  \t\n-42abc"), -42);
    EXPECT_EQ(ReadLeadingInteger("+7"), 7);
    EXPECT_EQ(ReadLeadingInteger("1e99"), 1);
    EXPECT_EQ(ReadLeadingInteger("3.9"), 3);
    EXPECT_EQ(ReadLeadingInteger("abc"), 0);
    EXPECT_EQ(ReadLeadingInteger(""), 0);
    EXPECT_EQ(ReadLeadingInteger("-"), 0);
    EXPECT_EQ(ReadLeadingInteger("2147483647"), INT_MAX);
    EXPECT_EQ(ReadLeadingInteger("2147483648"), INT_MAX);
    EXPECT_EQ(ReadLeadingInteger("-2147483648"), INT_MIN);
    EXPECT_EQ(ReadLeadingInteger(std::string(5000, '9')), INT_MAX);
    EXPECT_EQ(ReadLeadingInteger("-" + std::string(5000, '9')), INT_MIN);
    EXPECT_EQ(ReadLeadingInteger(std::string_view("12\0"
                                                  "34",
                                                  5)),
              12);
}

TEST(VersionTextTest, InstalledVersionsTruncateAndSaturate) {
    EXPECT_EQ(ReadVersionNumber("3.0"), 3);
    EXPECT_EQ(ReadVersionNumber("2.9"), 2);
    EXPECT_EQ(ReadVersionNumber("0.5"), 0);
    EXPECT_EQ(ReadVersionNumber("-2.9"), -2);
    EXPECT_EQ(ReadVersionNumber(" 12abc"), 12);
    EXPECT_EQ(ReadVersionNumber("abc"), 0);
    EXPECT_EQ(ReadVersionNumber("1e99"), INT_MAX);
    EXPECT_EQ(ReadVersionNumber("-1e99"), INT_MIN);
    EXPECT_EQ(ReadVersionNumber("inf"), INT_MAX);
    EXPECT_EQ(ReadVersionNumber("nan"), 0);
    EXPECT_EQ(ReadVersionNumber("-nan"), 0);
    EXPECT_EQ(ReadVersionNumber("1e-999"), 0);
    EXPECT_EQ(ReadVersionNumber(std::string(400, '9')), INT_MAX);
    EXPECT_EQ(ReadVersionNumber("2147483647.9"), INT_MAX);
}

}  // namespace
}  // namespace tunova
