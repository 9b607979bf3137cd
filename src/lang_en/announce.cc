#include "lang_en/announce.h"

#include "lang_en/number.h"

namespace vemba {

namespace {

// Appends a counter. Counters are never negative in use; should one be, it is
// said with its sign rather than as a wrapped-around huge number.
void count(std::string& out, int64_t n) {
  std::string names;
  if (n < 0) {
    out += " minus ";
    en_cardinal(names, static_cast<uint64_t>(-(n + 1)) + 1, 0);
  } else {
    en_cardinal(names, static_cast<uint64_t>(n), 0);
  }
  out += names;
}

// One kind of item with new and saved counters (faxes, recorded calls).
void new_and_saved(std::string& out, int64_t fresh, int64_t saved, const char* one,
                   const char* many) {
  if (fresh > 0 || saved > 0) out += " you_have ";
  if (fresh > 0) {
    count(out, fresh);
    out += " new ";
    out += fresh == 1 ? one : many;
  }
  if (fresh > 0 && saved > 0) out += " and ";
  if (saved > 0) {
    count(out, saved);
    out += " saved ";
    out += saved == 1 ? one : many;
  }
}

}  // namespace

void en_announce(int /*mode*/, int /*option*/, std::string& out, const AnnounceCounts& counts) {
  const int64_t n = counts.new_messages;
  const int64_t u = counts.urgent_messages;
  const int64_t s = counts.saved_messages;
  if (n == 0 && s == 0 && counts.new_faxes == 0 && counts.saved_faxes == 0 &&
      counts.new_recorded == 0 && counts.saved_recorded == 0) {
    out = " you_have_no_mess_fax_rec ";
    return;
  }
  out.clear();
  if (n > 0 || s > 0) out += " you_have ";
  if (n != u) {
    count(out, n);
    out += " new ";
    out += n == 1 ? " message " : " messages ";
  } else if (u > 0) {
    // Every new message is urgent.
    count(out, n);
    out += " urgent ";
    out += n == 1 ? " message " : " messages ";
  }
  if (n != u && u > 0) {
    count(out, u);
    out += u == 1 ? " of_which_is_urgent " : " of_which_are_urgent ";
  }
  if (n > 0 && s > 0) out += " and ";
  if (s > 0) {
    count(out, s);
    out += " saved ";
    out += s == 1 ? " message " : " messages ";
  }
  new_and_saved(out, counts.new_faxes, counts.saved_faxes, " fax ", " faxes ");
  new_and_saved(out, counts.new_recorded, counts.saved_recorded, " rec_call ", " rec_calls ");
}

}  // namespace vemba
