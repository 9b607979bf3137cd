#include "rules/var_type.h"

#include <gtest/gtest.h>

#include <string>

namespace vemba {
namespace {

TEST(VarTypeOf, KindsAndOptions) {
  struct Case {
    const char* tag;
    int32_t type;
    int32_t option;
  } cases[] = {
      {"<VAR_TIME>", VAR_TIME, 0},
      {"<VAR_TIME|2>", VAR_TIME, 2},
      {"<VAR_TIME|x>", VAR_TIME, 0},
      {"<VAR_TIME|3", VAR_TIME, 0},  // no ">" after the bar
      {"<VAR_TIME| -7>", VAR_TIME, -7},
      {"<VAR_TIME|+4x>", VAR_TIME, 4},
      {"<VAR_NUMBER_EN>", VAR_NUMBER_EN, 0},
      {"<VAR_NUMERAL_EN>", VAR_NUMERAL_EN, 0},
      {"<VAR_NUMBER_EN|2>", VAR_UNDEFINED, 0},   // keyword includes the ">"
      {"<VAR_NUMBER_EN>|5>", VAR_NUMBER_EN, 0},  // number kinds take no option
      {"<VAR_DATETIME>", VAR_DATE, 0},           // date is searched before time
      {"<VAR_DATE_LONG>", VAR_DATE, 0},
      {"<VAR_WAVE>", VAR_WAV, 0},
      {"<VAR_WORD|1>", VAR_WORD, 1},
      {"<VAR_ANNOUNCE>", VAR_ANNOUNCE, 0},
      {"<VAR_FLOAT|2>", VAR_FLOAT, 2},
      {"<VAR_MONEY>", VAR_MONEY, 0},
      {"<VAR_DIGITS>", VAR_DIGITS, 0},
      {"<VAR_SPELL|1>", VAR_SPELL, 1},
      {"<x<VAR_SPELL>", VAR_SPELL, 0},            // found anywhere in the tag
      {"<VAR_TIME>|9>", VAR_TIME, 9},             // any bar after the keyword counts
      {"<VAR_TIME|1><VAR_DATE|2>", VAR_DATE, 2},  // the earlier keyword in search order
      {"<VAR_DATE><VAR_DATE|3>", VAR_DATE, 3},
      {"<VAR_<VAR_WAV|4>", VAR_WAV, 4},
      {"<VAR_FOO>", VAR_UNDEFINED, 0},
      {"<var_time>", VAR_UNDEFINED, 0},
      {"VAR_TIME", VAR_UNDEFINED, 0},
      {"", VAR_UNDEFINED, 0},
  };
  for (const Case& c : cases) {
    VarTypeAndOption got = var_type_of(c.tag);
    EXPECT_EQ(got.type, c.type) << c.tag;
    EXPECT_EQ(got.option, c.option) << c.tag;
  }
}

TEST(VarTypeOf, OptionTextIsReadFromAtMost99Characters) {
  std::string digits(98, '0');
  EXPECT_EQ(var_type_of("<VAR_TIME|" + digits + "7>").option, 7);
  EXPECT_EQ(var_type_of("<VAR_TIME|" + digits + "07>").option, 0);  // the 7 is the 100th
  EXPECT_EQ(var_type_of("<VAR_TIME|99999999999999>").option, INT32_MAX);
}

}  // namespace
}  // namespace vemba
