#include "lang_en/announce.h"

#include <gtest/gtest.h>

#include "lang_en/test_names.h"

namespace vemba {
namespace {

TEST(EnAnnounce, Wording) {
  struct Case {
    AnnounceCounts counts;  // N, U, S, NF, SF, NR, SR
    const char* names;
  } cases[] = {
      {{0, 0, 0, 0, 0, 0, 0}, "you_have_no_mess_fax_rec"},
      {{0, 5, 0, 0, 0, 0, 0}, "you_have_no_mess_fax_rec"},
      {{1, 0, 0}, "you_have 1 new message"},
      {{3, 1, 2, 0, 0, 0, 0}, "you_have 3 new messages 1 of_which_is_urgent and 2 saved messages"},
      {{5, 3, 0, 0, 0, 0, 0}, "you_have 5 new messages 3 of_which_are_urgent"},
      {{2, 2, 0, 0, 0, 0, 0}, "you_have 2 urgent messages"},
      {{1, 1, 1, 0, 0, 0, 0}, "you_have 1 urgent message and 1 saved message"},
      {{0, 0, 5, 0, 0, 0, 0}, "you_have 5 saved messages"},
      {{0, 0, 1, 0, 0, 0, 0}, "you_have 1 saved message"},
      {{0, 0, 0, 2, 1, 0, 0}, "you_have 2 new faxes and 1 saved fax"},
      {{0, 0, 0, 1, 0, 0, 0}, "you_have 1 new fax"},
      {{0, 0, 0, 0, 3, 0, 0}, "you_have 3 saved faxes"},
      {{1, 0, 0, 0, 0, 0, 3}, "you_have 1 new message you_have 3 saved rec_calls"},
      {{0, 0, 0, 0, 0, 1, 0}, "you_have 1 new rec_call"},
      {{0, 0, 0, 0, 0, 2, 1}, "you_have 2 new rec_calls and 1 saved rec_call"},
      {{21, 0, 0, 0, 0, 0, 0}, "you_have 20 1 new messages"},
      {{1, 0, 1, 1, 1, 1, 1},
       "you_have 1 new message and 1 saved message you_have 1 new fax and 1 saved fax "
       "you_have 1 new rec_call and 1 saved rec_call"},
      // Counts past the 32-bit range are said exactly.
      {{5000000000, 0, 0, 0, 0, 0, 0}, "you_have 5 1,000,000,000 new messages"},
      {{1000000000000, 0, 0, 0, 0, 0, 0}, "you_have 1 0 0 0 0 0 0 0 0 0 0 0 0 new messages"},
  };
  for (const Case& c : cases) {
    std::string out = "junk";
    en_announce(0, 0, out, c.counts);
    EXPECT_EQ(test::names(out), c.names) << c.names;
  }
}

TEST(EnAnnounce, ModeAndOptionHaveNoEffect) {
  AnnounceCounts counts{3, 1, 2, 0, 0, 0, 0};
  std::string plain;
  en_announce(0, 0, plain, counts);
  for (int mode : {1, 2}) {
    std::string out;
    en_announce(mode, 1, out, counts);
    EXPECT_EQ(out, plain);
  }
}

}  // namespace
}  // namespace vemba
