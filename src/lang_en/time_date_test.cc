#include "lang_en/time_date.h"

#include <gtest/gtest.h>

#include "lang_en/test_names.h"

namespace vemba {
namespace {

using test::names;

std::string time_names(int mode, int option, std::string_view value) {
  std::string out = "junk";
  en_time(mode, option, out, value);
  return mode == 1 ? out : names(out);
}

TEST(EnTime, ClockTimes) {
  struct Case {
    const char* value;
    const char* names;
  } cases[] = {
      {"9:05", "9 o 5 am"},
      {"9:00", "9 am"},
      {"14:30", "2 30 pm"},
      {"0:00", "12 am"},
      {"00:15", "12 15 am"},
      {"12:00", "12 pm"},
      {"12:45", "12 40 5 pm"},
      {"23:59", "11 50 9 pm"},
      {"24:00", "12 am"},
      {"25:00", "13 pm"},
      {":30", "12 30 am"},
      {"11:10", "11 10 am"},
      {"13:01", "1 o 1 pm"},
      {"7", "7 am"},
      {"100:00", "80 8 pm"},
      // Hours beyond 64 bits still lose exactly twelve.
      {"100000000000000000000:00", "9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 8 8 pm"},
      {"-5:00", "minus 5 am"},  // not a wrapped-around huge hour
  };
  for (const Case& c : cases) EXPECT_EQ(time_names(0, 0, c.value), c.names) << c.value;
}

TEST(EnTime, Durations) {
  struct Case {
    const char* value;
    const char* names;
  } cases[] = {
      {"1:30", "1 hour 30 minutes"},
      {"2:01", "2 hours 1 minute"},
      {"0:05", "0 hours 5 minutes"},
      {"1:00", "1 hour 0 minutes"},
      {"5000000000:00", "5 1,000,000,000 hours 0 minutes"},
      {"-1:-1", "minus 1 hours minus 1 minutes"},
  };
  for (int option : {1, 2, -1}) {
    for (const Case& c : cases) EXPECT_EQ(time_names(0, option, c.value), c.names) << c.value;
  }
}

TEST(EnTime, TextMode) {
  struct Case {
    int option;
    const char* value;
    const char* text;
  } cases[] = {
      {0, "14:05", "2:05 pm"}, {0, "0:30", "12:30 am"}, {0, "12:00", "12:00 pm"},
      {0, "09:05", "9:05 am"}, {0, "7", "7: am"},       {1, "1:30", "1:30"},
      {2, "01:5", "01:5"},
  };
  for (const Case& c : cases) EXPECT_EQ(time_names(1, c.option, c.value), c.text) << c.value;
}

TEST(EnYear, Readings) {
  struct Case {
    const char* text;
    const char* names;
  } cases[] = {
      {"2008", "2 1000 8"},
      {"1900", "19 100"},
      {"1905", "19 o 5"},
      {"1999", "19 90 9"},
      {"1015", "10 15"},
      {"1000", "1 1000"},
      {"1001", "10 o 1"},
      {"999", "9 100 90 9"},
      {"08", "8"},
      {"-5", ""},
      {"+2008", "plus 2 1000 8"},
      {"2000", "2 1000"},
      {"1910", "19 10"},
      {"12345678901234", "1 2 3 4 5 6 7 8 9 0 1 2 3 4"},
  };
  for (const Case& c : cases) {
    std::string out = "junk";
    en_year(out, c.text);
    EXPECT_EQ(names(out), c.names) << c.text;
  }
  std::string in_place = "1999";
  en_year(in_place, in_place);
  EXPECT_EQ(names(in_place), "19 90 9");
  std::string blank = " ";
  en_year(blank, blank);
  EXPECT_EQ(blank, " ");
}

class EnDateTest : public ::testing::Test {
 protected:
  // Wednesday 5 March 2008, noon. The fixed clock reads local time as UTC;
  // its own "now" is never the date's.
  FixedClock calendar_{0};
  int64_t now_ = utc_seconds(2008, 3, 5, 12, 0, 0);

  std::string date(int mode, int option, std::string_view value) {
    std::string text(value);
    size_t first = text.find('/');
    size_t last = text.rfind('/');
    std::string month = text.substr(0, first);
    std::string day = text.substr(first + 1, last - first - 1);
    std::string year = text.substr(last + 1);
    std::string out = "junk";
    en_date(mode, option, out, month, day, year, calendar_, now_);
    return mode == 1 ? out : names(out);
  }
};

TEST_F(EnDateTest, NearNow) {
  struct Case {
    const char* value;
    const char* names;
  } cases[] = {
      {"3/6/2008", "tomorrow"},
      {"3/5/2008", "today"},
      {"3/4/2008", "yesterday"},
      {"3/3/2008", "monday march 3_numeral"},
      {"2/29/2008", "friday february 20 9_numeral"},
      {"2/28/2008", "thursday february 20 8_numeral"},
      {"2/27/2008", "february 20 7_numeral"},
      {"3/7/2008", "march 7_numeral"},
      {"3/5/2007", "march 5_numeral 2 1000 7"},
      {"12/25/1999", "december 20 5_numeral 19 90 9"},
      {"1/1/1905", "january 1_numeral 19 o 5"},
      {"3/5/08", "march 5_numeral 8"},
      {"12/31/99", "december 30 1_numeral 90 9"},
      {"03/05/2008", "today"},
      {"3/5/2009", "march 5_numeral 2 1000 9"},
  };
  for (const Case& c : cases) EXPECT_EQ(date(0, 0, c.value), c.names) << c.value;
}

TEST_F(EnDateTest, OtherOptionsSayTheWholeDate) {
  EXPECT_EQ(date(0, 1, "3/5/2008"), "march 5_numeral 2 1000 8");
  EXPECT_EQ(date(0, 1, "3/6/2008"), "march 6_numeral 2 1000 8");
}

TEST_F(EnDateTest, RelativeWordsFollowNow) {
  // Just before midnight "tomorrow" is a few minutes away; the stepping is
  // from the current instant, so the next day still counts as tomorrow.
  now_ = utc_seconds(2008, 3, 5, 23, 59, 0);
  EXPECT_EQ(date(0, 0, "3/6/2008"), "tomorrow");
  now_ = utc_seconds(2009, 1, 1, 0, 0, 0);  // Thursday
  EXPECT_EQ(date(0, 0, "12/31/2008"), "yesterday");
  EXPECT_EQ(date(0, 0, "12/29/2008"), "monday december 20 9_numeral 2 1000 8");
  EXPECT_EQ(date(0, 0, "1/3/2009"), "january 3_numeral");  // current year not said
}

TEST_F(EnDateTest, TextMode) {
  EXPECT_EQ(date(1, 0, "3/5/2008"), "March 5, 2008");
  EXPECT_EQ(date(1, 0, "12/31/99"), "December 31, 99");
  EXPECT_EQ(date(1, 0, "13/1/2008"), "13 1, 2008");  // no month name: text kept
}

TEST_F(EnDateTest, DayAndYearTextsAreRewritten) {
  std::string month = "3";
  std::string day = "21";
  std::string year = "1999";
  std::string out;
  en_date(0, 0, out, month, day, year, calendar_, now_);
  EXPECT_EQ(names(day), "20 1_numeral");
  EXPECT_EQ(names(year), "19 90 9");
  EXPECT_EQ(month, "3");
}

}  // namespace
}  // namespace vemba
