#include "lang_en/prompt_inventory.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/var_kind.h"
#include "lang_en/announce.h"
#include "lang_en/money.h"
#include "lang_en/number.h"
#include "lang_en/spell.h"
#include "lang_en/time_date.h"
#include "platform/clock.h"

namespace vemba {
namespace {

// Runs every English builder over a wide spread of values and gathers the
// names they write, so the inventory is checked against what the builders
// really say rather than against a second hand-written list.
class BuilderNames {
 public:
  void add(const std::string& text, const std::string& input) {
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
      if (first_input_.emplace(word, input).second) names_.insert(word);
    }
  }
  const std::set<std::string>& names() const { return names_; }
  const std::string& input_of(const std::string& name) const { return first_input_.at(name); }

 private:
  std::set<std::string> names_;
  std::map<std::string, std::string> first_input_;
};

BuilderNames run_every_builder() {
  BuilderNames seen;
  std::string out;
  const std::vector<std::string> numbers = {"0",
                                            "7",
                                            "13",
                                            "21",
                                            "99",
                                            "100",
                                            "105",
                                            "999",
                                            "1000",
                                            "1001",
                                            "20000",
                                            "1234567",
                                            "-5",
                                            "+5",
                                            "-0",
                                            "2147483647",
                                            "-2147483648",
                                            "4000000000",
                                            "999999999999",
                                            "1000000000000",
                                            "12345678901234567890123"};
  for (int kind : {VAR_NUMBER_EN, VAR_NUMERAL_EN}) {
    for (const std::string& n : numbers) {
      en_number(0, out, n, kind);
      seen.add(out, "number " + n);
    }
    for (int n = 0; n <= 1200; ++n) {
      en_number(0, out, std::to_string(n), kind);
      seen.add(out, "number " + std::to_string(n));
    }
  }
  for (int option : {0, 1}) {
    for (int h = 0; h <= 26; ++h) {
      for (int m = 0; m <= 59; ++m) {
        std::string value = std::to_string(h) + ":" + (m < 10 ? "0" : "") + std::to_string(m);
        en_time(0, option, out, value);
        seen.add(out, "time " + value);
      }
    }
  }
  // Two "now"s three days apart reach tomorrow, today, yesterday and every
  // weekday; whole years reach every month and day numeral.
  FixedClock clock(0);
  for (int today : {5, 8}) {
    int64_t now = utc_seconds(2008, 3, today, 12);
    for (int year : {2008, 2007, 1999, 1905, 1900, 1015, 99, 0}) {
      for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= 31; ++day) {
          std::string m = std::to_string(month), d = std::to_string(day), y = std::to_string(year);
          std::string input = "date " + m + "/" + d + "/" + y;
          for (int option : {0, 1}) {
            en_date(0, option, out, m, d, y, clock, now);
            seen.add(out, input);
            m = std::to_string(month), d = std::to_string(day), y = std::to_string(year);
          }
        }
      }
    }
  }
  // Every counter at 0, 1 and 2, in every combination.
  for (int combo = 0; combo < 3 * 3 * 3 * 3 * 3 * 3 * 3; ++combo) {
    AnnounceCounts c;
    int64_t* fields[] = {&c.new_messages, &c.urgent_messages, &c.saved_messages, &c.new_faxes,
                         &c.saved_faxes,  &c.new_recorded,    &c.saved_recorded};
    int rest = combo;
    for (int64_t* field : fields) {
      *field = rest % 3;
      rest /= 3;
    }
    en_announce(0, 0, out, c);
    seen.add(out, "announce " + std::to_string(combo));
  }
  for (const char* value : {"5", "1", "0", "-5.250000", "1.010000", "0.990000", "2.999000", "+5",
                            "12.500000", "-1.000000"}) {
    for (int option : {0, 1}) {
      en_money(0, option, out, value, "en-us");
      seen.add(out, std::string("money ") + value);
    }
  }
  for (const char* value : {"3.14", "3.05", "3.0500", "-2.5", "+2.5", ".5", "3.", "7", "."}) {
    en_float(0, 0, out, value);
    seen.add(out, std::string("float ") + value);
  }
  for (const char* value : {"0123456789", "-42", "+42"}) {
    en_digits(0, 0, out, value);
    seen.add(out, std::string("digits ") + value);
  }
  std::string every_char;
  for (int c = 1; c < 256; ++c) every_char += static_cast<char>(c);
  for (int option : {0, 1}) {
    spell_text(out, every_char, option);
    seen.add(out, "spell of every byte");
  }
  spell_text(out, "http www com net org gov", 1);
  seen.add(out, "web words");
  return seen;
}

TEST(PromptInventoryTest, NamesAreUnique) {
  std::vector<std::string> names = en_prompt_inventory();
  std::set<std::string> unique(names.begin(), names.end());
  EXPECT_EQ(unique.size(), names.size());
}

TEST(PromptInventoryTest, EveryNameABuilderWritesIsListed) {
  std::vector<std::string> names = en_prompt_inventory();
  std::set<std::string> listed(names.begin(), names.end());
  BuilderNames seen = run_every_builder();
  for (const std::string& name : seen.names()) {
    EXPECT_TRUE(listed.count(name))
        << "unlisted name [" << name << "] from " << seen.input_of(name);
  }
}

TEST(PromptInventoryTest, EveryListedNameIsWrittenByABuilder) {
  BuilderNames seen = run_every_builder();
  for (const std::string& name : en_prompt_inventory()) {
    // The digit pause is added by the composer, not written by a builder.
    if (name == "silence300") continue;
    EXPECT_TRUE(seen.names().count(name)) << "no builder writes [" << name << "]";
  }
}

TEST(PromptInventoryTest, HoldsTheNamesRecordingsAreLookedUpBy) {
  // Spot checks of names whose spelling is easy to get wrong.
  std::vector<std::string> names = en_prompt_inventory();
  std::set<std::string> listed(names.begin(), names.end());
  for (const char* name : {"1000", "1,000,000", "1,000,000,000", "20_numeral", "30_numeral", "+",
                           "-", "o", "you_have_no_mess_fax_rec", "of_which_are_urgent", "cur2P",
                           "K_O_parenthesis", "K_blank", "gov", "silence300"}) {
    EXPECT_TRUE(listed.count(name)) << name;
  }
  for (const char* name : {"40_numeral", "1,000", "100_numeral", "K_space", "cur1"}) {
    EXPECT_FALSE(listed.count(name)) << name;
  }
}

}  // namespace
}  // namespace vemba
