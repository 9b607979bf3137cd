#include "translate/word_class.h"

#include <gtest/gtest.h>

namespace vemba {
namespace {

TEST(ClassifyWord, ClassTableInItsOrder) {
  struct Case {
    std::string word;
    int32_t word_class;
  } cases[] = {
      {"007", VAR_INTEGER},       {"-5", VAR_INTEGER},
      {"+", VAR_INTEGER},         {"", VAR_INTEGER},
      {"5-", VAR_WORD},           {"3.14", VAR_FLOAT},
      {"-.5", VAR_FLOAT},         {".", VAR_FLOAT},
      {"+3.", VAR_FLOAT},         {"1.2.3", VAR_SPELL},
      {"a-b_c", VAR_WORD},        {"12a", VAR_WORD},
      {"-", VAR_INTEGER},         {"_", VAR_WORD},
      {"1|2|3", VAR_ANNOUNCE},    {"|", VAR_ANNOUNCE},
      {"1||2|3", VAR_ANNOUNCE},   {"x.wav", VAR_WAV},
      {".wav", VAR_SPELL},        {"a b.wav", VAR_WAV},
      {"x.WAV", VAR_SPELL},       {"12:30", VAR_TIME},
      {"12:60", VAR_SPELL},       {":30", VAR_TIME},
      {"99:00", VAR_TIME},        {"-1:00", VAR_SPELL},
      {"100:00", VAR_SPELL},      {"1/2/2008", VAR_DATE},
      {"hello there", VAR_SPELL}, {"caf\xc3\xa9", VAR_UNDEFINED},
      {"a\x80", VAR_UNDEFINED},   {"a.b", VAR_SPELL},
      {"\x7f", VAR_SPELL},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(classify_word(c.word), c.word_class) << "[" << c.word << "]";
  }
}

TEST(ClassifyWord, Dates) {
  struct Case {
    std::string word;
    bool date;
  } cases[] = {
      {"2/29/2000", true},  {"2/29/2008", true},  {"2/29/1900", false},   {"2/29/2007", false},
      {"2/28/2007", true},  {"13/1/2008", false}, {"1/32/2008", false},   {"12/31/99", true},
      {"0/1/2008", false},  {"1/0/2008", false},  {"4/31/2008", false},   {"4/30/2008", true},
      {"2/29/0", true},     {"2/29/-4", true},    {"2/29/-100", false},   {"2/29/1600", true},
      {"1/2/3/4", true},    {"1/2", false},       {"12/31/20080", false},  // 11 characters
      {"12/31/2008", true}, {"1/1/", true},       {"/1/1", false},        {"01/02/x", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(is_date_word(c.word), c.date) << c.word;
    EXPECT_EQ(classify_word(c.word) == VAR_DATE, c.date) << c.word;
  }
}

TEST(ClassifyWord, DaysInMonth) {
  struct Case {
    int month, year, days;
  } cases[] = {{1, 2007, 31}, {2, 2007, 28}, {2, 2008, 29},  {2, 1900, 28},
               {2, 2000, 29}, {4, 2008, 30}, {12, 2008, 31}, {0, 2008, 0},
               {13, 2008, 0}, {2, 2100, 28}, {2, -400, 29}};
  for (const Case& c : cases) {
    EXPECT_EQ(days_in_month(c.month, c.year), c.days) << c.month << "/" << c.year;
  }
}

TEST(ClassifyWord, Times) {
  struct Case {
    std::string word;
    bool time;
  } cases[] = {{"0:00", true},   {"23:59", true},   {"1:5", true},   {"99:59", true},
               {"5:", true},     {":", true},       {"5:-1", false}, {"123:4", true},
               {"1:234", false}, {"12:300", false}, {"a:10", true},  {"10", false}};
  for (const Case& c : cases) {
    EXPECT_EQ(is_time_word(c.word), c.time) << c.word;
  }
}

}  // namespace
}  // namespace vemba
