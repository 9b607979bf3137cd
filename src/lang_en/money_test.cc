#include "lang_en/money.h"

#include <gtest/gtest.h>

#include "lang_en/test_names.h"

namespace vemba {
namespace {

using test::names;

std::string money(std::string_view value, int option = 0, std::string_view system = "en-us") {
  std::string out = "junk";
  en_money(0, option, out, value, system);
  return names(out);
}

TEST(EnMoney, Amounts) {
  struct Case {
    const char* value;
    const char* names;
  } cases[] = {
      {"5", "5 cur1P"},
      {"1", "1 cur1S"},
      {"0", "0 cur1P"},
      {"5.250000", "5 cur1P 20 5 cur2P"},
      {"1.010000", "1 cur1S 1 cur2S"},
      {"5.000000", "5 cur1P 0 cur2P"},
      {"0.990000", "0 cur1P 90 9 cur2P"},
      {"2.999000", "3 cur1P 0 cur2P"},
      {"1.125000", "1 cur1S 13 cur2P"},
      {"-5.250000", "negative_balance 5 cur1P 20 5 cur2P"},
      {"-1", "negative_balance 1 cur1S"},
      {"+5", "5 cur1P"},
      {"0.005000", "0 cur1P 1 cur2S"},
      {"0.004999", "0 cur1P 0 cur2P"},
      {"-0.005000", "negative_balance 0 cur1P 1 cur2S"},
      {"99.995", "1 100 cur1P 0 cur2P"},
      {"7.5", "7 cur1P 50 cur2P"},
      {"7.", "7 cur1P 0 cur2P"},
      {"3000000000.25", "3 1,000,000,000 cur1P 20 5 cur2P"},
      {"9999999999999.99", "9 9 9 9 9 9 9 9 9 9 9 9 9 cur1P 90 9 cur2P"},
      // Too long for a double: rounded on the text, no digit changes.
      {"12345678901234567890.125", "1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0 cur1P 13 cur2P"},
      {"99999999999999.995", "1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 cur1P 0 cur2P"},
      {"-99999999999999.994", "negative_balance 9 9 9 9 9 9 9 9 9 9 9 9 9 9 cur1P 90 9 cur2P"},
      {"10000000000000001", "1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 cur1P"},
  };
  for (const Case& c : cases) EXPECT_EQ(money(c.value), c.names) << c.value;
}

TEST(EnMoney, LanguageSuffix) {
  EXPECT_EQ(money("1.500000", 1, "en-ca"), "1 cur1S_en-ca 50 cur2P_en-ca");
  EXPECT_EQ(money("2.010000", 1, "en-ca"), "2 cur1P_en-ca 1 cur2S_en-ca");
  EXPECT_EQ(money("1.500000", 1, "en-us"), "1 cur1S 50 cur2P");
  EXPECT_EQ(money("1.500000", 1, "EN-US"), "1 cur1S_EN-US 50 cur2P_EN-US");
  EXPECT_EQ(money("1.500000", 0, "en-ca"), "1 cur1S 50 cur2P");
  EXPECT_EQ(money("1.500000", 2, "en-ca"), "1 cur1S 50 cur2P");
}

TEST(EnMoney, BlankValueIsCopied) {
  for (const char* value : {"", "  "}) {
    std::string out = "x";
    en_money(0, 0, out, value, "en-us");
    EXPECT_EQ(out, value);
  }
}

TEST(EnFloat, Decimals) {
  struct Case {
    const char* value;
    const char* names;
  } cases[] = {
      {"3.14", "3 point 14"},
      {"3.05", "3 point 0 5"},
      {"3.50", "3 point 50"},
      {"3.0", "3 point 0"},
      {"3.000", "3 point 0 0 0"},
      {"3.", "3 point"},
      {".5", "0 point 5"},
      {"-2.5", "minus 2 point 5"},
      {"+2.5", "plus 2 point 5"},
      {"3.0500", "3 point 0 5 100"},
      {"7", "7"},
      {".", "0 point"},
      {"4294967296.5", "4 1,000,000,000 2 100 90 4 1,000,000 9 100 60 7 1000 2 100 90 6 point 5"},
      {"1.4294967296", "1 point 4 1,000,000,000 2 100 90 4 1,000,000 9 100 60 7 1000 2 100 90 6"},
      {"0.0123456789012345", "0 point 0 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5"},
      {"1234567890123.5", "1 2 3 4 5 6 7 8 9 0 1 2 3 point 5"},
  };
  for (const Case& c : cases) {
    std::string out = "junk";
    en_float(0, 0, out, c.value);
    EXPECT_EQ(names(out), c.names) << c.value;
  }
  std::string out = "x";
  en_float(0, 0, out, " ");
  EXPECT_EQ(out, " ");
}

TEST(EnDigits, OneNamePerCharacter) {
  std::string out;
  en_digits(0, 0, out, "0042");
  EXPECT_EQ(names(out), "0 0 4 2");
  en_digits(0, 0, out, "-12");
  EXPECT_EQ(names(out), "- 1 2");
  en_digits(1, 0, out, "0042");
  EXPECT_EQ(out, "0042");
  out = "987";
  en_digits(0, 0, out, out);
  EXPECT_EQ(names(out), "9 8 7");
}

}  // namespace
}  // namespace vemba
