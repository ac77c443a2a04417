// Whole numbers read from texts: like atoi, but saturated at the int range.
#include "platform/core/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace plat {
namespace {

TEST(NumberTextTest, LeadingIntegersReadLikeAtoiAndSaturate) {
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
    EXPECT_EQ(ReadLeadingInteger("x1"), 0);
}

}  // namespace
}  // namespace plat
