#include "lang_en/number.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>

#include "lang_en/test_names.h"

namespace vemba {
namespace {

using test::names;

std::string signed_names(std::string_view text, int numeral) {
  std::string out = "junk that must be replaced";
  en_signed_number(out, text, numeral);
  return names(out);
}

TEST(EnSignedNumber, CardinalReading) {
  struct Case {
    const char* text;
    const char* names;
  } cases[] = {
      {"0", "0"},
      {"7", "7"},
      {"13", "13"},
      {"21", "20 1"},
      {"42", "40 2"},
      {"100", "1 100"},
      {"105", "1 100 5"},
      {"115", "1 100 15"},
      {"999", "9 100 90 9"},
      {"1000", "1 1000"},
      {"1001", "1 1000 1"},
      {"2000000", "2 1,000,000"},
      {"1234567", "1 1,000,000 2 100 30 4 1000 5 100 60 7"},
      {"2147483647", "2 1,000,000,000 1 100 40 7 1,000,000 4 100 80 3 1000 6 100 40 7"},
      {"-2147483648", "minus 2 1,000,000,000 1 100 40 7 1,000,000 4 100 80 3 1000 6 100 40 8"},
      {"-5", "minus 5"},
      {"+5", "plus 5"},
      {"-0", "minus 0"},
      {"007", "7"},
      {" -5", "5"},  // a blank in front of the sign: no sign word
      {"abc", "0"},
      {"+", "plus 0"},
      {"-", "minus 0"},
      {"12abc", "12"},
      {"1000000000", "1 1,000,000,000"},
      {"1000001000", "1 1,000,000,000 1 1000"},
  };
  for (const Case& c : cases) EXPECT_EQ(signed_names(c.text, 0), c.names) << c.text;
}

TEST(EnSignedNumber, NumeralReading) {
  struct Case {
    const char* text;
    const char* names;
  } cases[] = {
      {"1", "1_numeral"},
      {"12", "12_numeral"},
      {"20", "20_numeral"},
      {"21", "20 1_numeral"},
      {"30", "30_numeral"},
      {"31", "30 1_numeral"},
      {"40", "40"},
      {"45", "40 5_numeral"},
      {"100", "1 100"},
      {"101", "1 100 1_numeral"},
      {"120", "1 100 20_numeral"},
      {"1000", "1 1000"},
      {"0", "0"},
      {"1019", "1 1000 19_numeral"},
      {"2000030", "2 1,000,000 30_numeral"},
  };
  for (const Case& c : cases) EXPECT_EQ(signed_names(c.text, 1), c.names) << c.text;
}

TEST(EnSignedNumber, BlankTextIsCopiedUnchanged) {
  for (const char* text : {"", " ", "   "}) {
    std::string out = "x";
    en_signed_number(out, text, 0);
    EXPECT_EQ(out, text) << '"' << text << '"';
  }
}

TEST(EnSignedNumber, ReadsInPlace) {
  std::string text = "-1234";
  en_signed_number(text, text, 1);
  EXPECT_EQ(names(text), "minus 1 1000 2 100 30 4_numeral");
}

// Past the 32-bit range values are read exactly, never wrapped or clamped.
TEST(EnSignedNumber, LargeValues) {
  struct Case {
    const char* text;
    const char* names;
  } cases[] = {
      {"4294967296", "4 1,000,000,000 2 100 90 4 1,000,000 9 100 60 7 1000 2 100 90 6"},
      {"-3000000000", "minus 3 1,000,000,000"},
      {"999999999999", "9 100 90 9 1,000,000,000 9 100 90 9 1,000,000 9 100 90 9 1000 9 100 90 9"},
      {"100000000020", "1 100 1,000,000,000 20"},
      {"000999999999999",
       "9 100 90 9 1,000,000,000 9 100 90 9 1,000,000 9 100 90 9 1000 9 100 90 9"},
      // Past what the group names can say: one name per digit.
      {"1000000000000", "1 0 0 0 0 0 0 0 0 0 0 0 0"},
      {"-1234567890123", "minus 1 2 3 4 5 6 7 8 9 0 1 2 3"},
      {"18446744073709551615", "1 8 4 4 6 7 4 4 0 7 3 7 0 9 5 5 1 6 1 5"},
      {"18446744073709551616", "1 8 4 4 6 7 4 4 0 7 3 7 0 9 5 5 1 6 1 6"},
      {"+00123456789012345678901234567890",
       "plus 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0"},
  };
  for (const Case& c : cases) EXPECT_EQ(signed_names(c.text, 0), c.names) << c.text;
  // A numeral reading of a digit string says plain digits (no digit numerals exist for 0).
  EXPECT_EQ(signed_names("12345678901230", 1), "1 2 3 4 5 6 7 8 9 0 1 2 3 0");
}

TEST(EnNumber, Kinds) {
  EXPECT_EQ(is_en_number_kind(101), 101);
  EXPECT_EQ(is_en_number_kind(102), 102);
  EXPECT_EQ(is_en_number_kind(100), 0);
  EXPECT_EQ(is_en_number_kind(2), 0);

  std::string out;
  en_number(0, out, "21", 101);
  EXPECT_EQ(names(out), "20 1");
  en_number(0, out, "21", 102);
  EXPECT_EQ(names(out), "20 1_numeral");
  en_number(1, out, "-5", 101);
  EXPECT_EQ(out, "-5");  // text mode: unchanged
  out = "kept";
  en_number(0, out, "5", 103);
  EXPECT_EQ(out, "kept");
}

TEST(PluralClass, OnlyOneIsSingular) {
  EXPECT_EQ(plural_class(1), 1);
  for (int64_t n : {0, 2, -1, 11, 101}) EXPECT_EQ(plural_class(n), 2) << n;
}

TEST(ReadInteger, ExactReading) {
  IntegerText n = read_integer("  -0042x");
  EXPECT_TRUE(n.negative);
  EXPECT_FALSE(n.overflow);
  EXPECT_EQ(n.magnitude, 42u);
  EXPECT_EQ(n.digits, "42");
  EXPECT_TRUE(n.equals(-42));
  EXPECT_FALSE(n.equals(42));

  n = read_integer("-9223372036854775808");
  EXPECT_TRUE(n.equals(INT64_MIN));
  n = read_integer("99999999999999999999");
  EXPECT_TRUE(n.overflow);
  EXPECT_EQ(n.digits, "99999999999999999999");
  EXPECT_FALSE(n.equals(0));
  EXPECT_TRUE(n.nonzero());

  n = read_integer("-0");
  EXPECT_TRUE(n.equals(0));
  EXPECT_FALSE(n.nonzero());
  n = read_integer("");
  EXPECT_EQ(n.digits, "0");
  EXPECT_TRUE(n.equals(0));
}

// Reads names back into the number they say; -1 when they are not a reading.
int64_t value_of_names(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  if (words.size() == 1 && words[0] == "0") return 0;
  const std::map<std::string, int64_t> groups = {
      {"1000", 1000}, {"1,000,000", 1000000}, {"1,000,000,000", 1000000000}};
  int64_t total = 0;
  int64_t group = 0;  // the value below 1000 read so far
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (groups.count(w)) {
      if (group == 0) return -1;
      total += group * groups.at(w);
      group = 0;
    } else if (w == "100") {
      if (group < 1 || group > 9) return -1;
      group *= 100;
    } else {
      int64_t v = std::stoll(w);
      if (v < 1 || v > 90 || (v > 19 && v % 10 != 0)) return -1;
      group += v;
    }
  }
  return total + group;
}

TEST(EnCardinal, NamesReadBackAsTheValue) {
  std::mt19937_64 rng(20080305);
  std::uniform_int_distribution<uint64_t> any(0, kLargestSpokenNumber);
  std::uniform_int_distribution<uint64_t> small(0, 99999);
  std::uniform_int_distribution<uint64_t> in32(0, 4294967295u);
  for (int i = 0; i < 20000; ++i) {
    uint64_t v = i % 3 == 0 ? any(rng) : i % 3 == 1 ? small(rng) : in32(rng);
    std::string out;
    en_cardinal(out, v, 0);
    ASSERT_EQ(value_of_names(out), static_cast<int64_t>(v)) << v << ": " << out;
  }
  for (uint64_t v : {uint64_t{0}, uint64_t{1}, uint64_t{999}, kLargestSpokenNumber}) {
    std::string out;
    en_cardinal(out, v, 0);
    EXPECT_EQ(value_of_names(out), static_cast<int64_t>(v)) << v;
  }
}

TEST(EnCardinal, ReplacesOutAndHundredsAppend) {
  std::string out = "old";
  en_cardinal(out, 0, 1);
  EXPECT_EQ(names(out), "0");
  out = "before";
  en_hundreds(out, 310, 0);
  EXPECT_EQ(names(out), "before 3 100 10");
  out.clear();
  en_cardinal(out, 1000000000000, 0);
  EXPECT_EQ(names(out), "1 0 0 0 0 0 0 0 0 0 0 0 0");
}

}  // namespace
}  // namespace vemba
