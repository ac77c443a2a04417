// Version texts: read like atoi and atof, but bounded.
#include "services/version_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace tunova {
namespace {

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
