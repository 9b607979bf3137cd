#include "lang_en/time_date.h"

#include "lang_en/number.h"
#include "platform/text_util.h"

namespace vemba {

namespace {

constexpr size_t kTimeCopyLimit = 999;
constexpr int64_t kDaySeconds = 86400;

constexpr const char* kWeekdayNames[] = {" sunday ",   " monday ", " tuesday ", " wednesday ",
                                         " thursday ", " friday ", " saturday "};
constexpr const char* kSpokenMonths[] = {" january ",   " february ", " march ",    " april ",
                                         " may ",       " june ",     " july ",     " august ",
                                         " september ", " october ",  " november ", " december "};
constexpr const char* kWrittenMonths[] = {"January",   "February", "March",    "April",
                                          "May",       "June",     "July",     "August",
                                          "September", "October",  "November", "December"};
// Indexed by the day step i + 1 (i = -1, 0, 1).
constexpr const char* kRelativeWords[] = {" tomorrow ", " today ", " yesterday "};

// Times are never negative in use; should one be, it keeps its sign rather
// than being said as a wrapped-around huge number.
void say_signed(std::string& out, const IntegerText& n) {
  if (n.negative && n.nonzero()) out += " minus ";
  say_magnitude(out, n, 0);
}

// digits - k for a decimal digit text not below k.
std::string subtract_digits(std::string digits, unsigned k) {
  unsigned borrow = k;
  for (size_t i = digits.size(); i > 0 && borrow > 0; --i) {
    unsigned d = static_cast<unsigned>(digits[i - 1] - '0');
    unsigned sub = borrow % 10;
    borrow /= 10;
    if (d < sub) {
      d += 10;
      ++borrow;
    }
    digits[i - 1] = static_cast<char>('0' + d - sub);
  }
  return digits;
}

// The month number when it names a month (1 to 12), else 0.
int month_index(const IntegerText& month) {
  return !month.negative && !month.overflow && month.magnitude >= 1 && month.magnitude <= 12
             ? static_cast<int>(month.magnitude)
             : 0;
}

}  // namespace

void en_time(int mode, int option, std::string& out, std::string_view value) {
  std::string input(value.substr(0, kTimeCopyLimit));
  size_t colon = input.find(':');
  std::string hour_text = input.substr(0, colon);
  std::string minute_text = colon == std::string::npos ? "" : input.substr(colon + 1);
  IntegerText h = read_integer(hour_text);
  IntegerText m = read_integer(minute_text);

  if (option != 0) {  // a duration
    if (mode == 1) {
      out = input;
      return;
    }
    out = " ";
    say_signed(out, h);
    out += h.equals(1) ? " hour " : " hours ";
    say_signed(out, m);
    out += m.equals(1) ? " minute " : " minutes ";
    return;
  }

  // The 12-hour clock; hours past 24 follow the same rule (25 gives 13 pm).
  bool pm = false;
  IntegerText hour = h;
  if (h.negative && h.nonzero()) {
    pm = false;
  } else if (h.equals(0) || h.equals(24)) {
    hour = read_integer("12");
  } else if (!h.overflow && h.magnitude < 12) {
    pm = false;
  } else if (h.equals(12)) {
    pm = true;
  } else {
    hour = read_integer(subtract_digits(h.digits, 12));
    pm = true;
  }

  if (mode == 1) {
    out = (hour.negative && hour.nonzero() ? "-" : "") + hour.digits + ":" + minute_text +
          (pm ? " pm" : " am");
    return;
  }
  out.clear();
  say_signed(out, hour);
  bool positive_minutes = !m.negative && m.nonzero();
  if (positive_minutes && !m.overflow && m.magnitude <= 9) out += " o ";
  if (positive_minutes) say_magnitude(out, m, 0);
  out += pm ? " pm " : " am ";
}

void en_year(std::string& out, std::string_view year_text) {
  std::string text(year_text);  // year_text may view out
  IntegerText y = read_integer(text);
  if (y.negative && y.nonzero()) {
    out = " ";
    return;
  }
  if (y.overflow || y.magnitude <= 1000 || y.magnitude >= 2000) {
    en_signed_number(out, text, 0);
    return;
  }
  // 1001 to 1999 are said in two halves: nineteen oh five, nineteen ninety-nine.
  int hi = static_cast<int>(y.magnitude / 100);
  int lo = static_cast<int>(y.magnitude % 100);
  if (lo == 0) {
    out = string_printf("%d %s ", hi, "100");
  } else if (lo <= 9) {
    out = string_printf("%d o %d ", hi, lo);
  } else {
    std::string low_names;
    en_signed_number(low_names, std::to_string(lo), 0);
    out = string_printf("%d %s ", hi, low_names.c_str());
  }
}

void en_date(int mode, int option, std::string& out, std::string& month, std::string& day,
             std::string& year, const Clock& clock, int64_t now) {
  IntegerText m = read_integer(month);
  IntegerText d = read_integer(day);
  IntegerText y = read_integer(year);
  int month_number = month_index(m);

  if (mode == 1) {
    // Unknown months cannot reach here through rule matching; should one,
    // its text is kept rather than reading outside the table.
    std::string name = month_number > 0 ? kWrittenMonths[month_number - 1] : month;
    out = name + " " + day + ", " + year;
    return;
  }

  std::string relative = " ";
  std::string weekday = " ";
  std::string month_word = month_number > 0 ? kSpokenMonths[month_number - 1] : "";
  if (option == 0) {
    int64_t t = now;
    if (y.equals(clock.local_time(t).year)) year = " ";
    // Steps of exactly one day from now, tomorrow first; every matching step
    // applies, so a local day longer than 24 hours may match twice.
    t += kDaySeconds;
    for (int i = -1; i <= 6; ++i, t -= kDaySeconds) {
      LocalTime local = clock.local_time(t);
      if (!d.equals(local.day) || !m.equals(local.month) || !y.equals(local.year)) continue;
      if (i <= 1) {
        relative = kRelativeWords[i + 1];
        month_word = " ";
        day = " ";
        year = " ";
      } else if (local.weekday >= 0 && local.weekday <= 6) {
        weekday = kWeekdayNames[local.weekday];
      }
    }
  }
  en_signed_number(day, day, 1);
  en_year(year, year);
  out = " " + relative + weekday + month_word + day + year;
}

}  // namespace vemba
