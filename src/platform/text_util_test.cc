#include "platform/text_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vemba {
namespace {

TEST(FormatFixed, HalvesAwayFromZeroOnSeventeenDigits) {
  struct Case {
    double value;
    int decimals;
    const char* text;
  } cases[] = {
      {1.125, 2, "1.13"},  // printf's "%.2f" gives 1.12 (exact binary half, to even)
      {2.999, 2, "3.00"},      {0.125, 2, "0.13"},
      {-1.125, 2, "-1.13"},    {2.675, 2, "2.67"},  // the double is 2.67499999999999982...
      {2.675, 6, "2.675000"},  {0.005, 2, "0.01"},
      {0.0049, 2, "0.00"},     {0.0001, 2, "0.00"},
      {0.0, 2, "0.00"},        {-0.0, 2, "-0.00"},
      {9.995, 2, "9.99"},      {99.995, 2, "100.00"},
      {5.25, 6, "5.250000"},   {1e20, 2, "100000000000000000000.00"},
      {123456.5, 0, "123457"}, {-0.5, 0, "-1"},
      {0.4, 0, "0"},           {1.0000005, 6, "1.000001"},
      {3.0, 6, "3.000000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(format_fixed(c.value, c.decimals), c.text) << c.value << " " << c.decimals;
  }
}

TEST(RoundDecimalText, HalvesAwayFromZeroOnTheDigits) {
  struct Case {
    const char* text;
    int decimals;
    const char* rounded;
  } cases[] = {
      {"1.125", 2, "1.13"},
      {"-1.125", 2, "-1.13"},
      {"+2.5", 0, "3"},
      {"9.995", 2, "10.00"},
      {"999999999999999999.995", 2, "1000000000000000000.00"},
      {"123456789012345678.994999", 2, "123456789012345678.99"},
      {"0007.1", 3, "7.100"},
      {".5", 2, "0.50"},
      {"3.", 1, "3.0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(round_decimal_text(c.text, c.decimals), c.rounded) << c.text;
  }
}

TEST(FormatFixed, NonFiniteValuesAsPrintf) {
  EXPECT_EQ(format_fixed(std::numeric_limits<double>::infinity(), 2), "inf");
  EXPECT_EQ(format_fixed(-std::numeric_limits<double>::infinity(), 2), "-inf");
}

}  // namespace
}  // namespace vemba
