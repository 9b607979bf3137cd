#include "rules/var_type.h"

#include <cstring>
#include <iterator>

#include "platform/text_util.h"

namespace vemba {

namespace {

struct Keyword {
  std::string_view text;
  int32_t type;
};

// Searched in this order, so <VAR_DATETIME> is a date slot.
constexpr Keyword kKeywords[] = {
    {"<VAR_DATE", VAR_DATE},
    {"<VAR_TIME", VAR_TIME},
    {"<VAR_WORD", VAR_WORD},
    {"<VAR_WAV", VAR_WAV},
    {"<VAR_ANNOUNCE", VAR_ANNOUNCE},
    {"<VAR_NUMBER_EN>", VAR_NUMBER_EN},
    {"<VAR_NUMERAL_EN>", VAR_NUMERAL_EN},
    {"<VAR_FLOAT", VAR_FLOAT},
    {"<VAR_MONEY", VAR_MONEY},
    {"<VAR_DIGITS", VAR_DIGITS},
    {"<VAR_SPELL", VAR_SPELL},
};

constexpr size_t kOptionTextMax = 99;
constexpr size_t kNone = std::size(kKeywords);

// For each byte, the keywords whose byte after "<VAR_" it is, as bits by
// their place in the search order.
struct KeywordsByByte {
  uint16_t of[256] = {};
  constexpr KeywordsByByte() {
    for (size_t i = 0; i < kNone; ++i) {
      of[static_cast<unsigned char>(kKeywords[i].text[5])] |= static_cast<uint16_t>(1u << i);
    }
  }
};
constexpr KeywordsByByte kKeywordsByByte;

// The keyword earliest in the search order, before limit, that starts at
// tag[at] (where "<VAR_" and one more byte are known to be), or kNone.
size_t keyword_at(std::string_view tag, size_t at, size_t limit) {
  unsigned candidates = kKeywordsByByte.of[static_cast<unsigned char>(tag[at + 5])];
  candidates &= (1u << limit) - 1;
  while (candidates != 0) {
    const size_t i = static_cast<size_t>(__builtin_ctz(candidates));
    candidates &= candidates - 1;
    const std::string_view keyword = kKeywords[i].text;
    if (tag.size() - at < keyword.size()) continue;
    size_t j = 6;
    while (j < keyword.size() && tag[at + j] == keyword[j]) ++j;
    if (j == keyword.size()) return i;
  }
  return kNone;
}

}  // namespace

VarTypeAndOption var_type_of(std::string_view tag) {
  // Every keyword starts with "<VAR_": visit each place where that occurs and
  // keep the keyword earliest in the search order, at its first place. No
  // keyword begins another, so at most one matches at a place, and the byte
  // after "<VAR_" leaves one or two to compare. Tags are read for every rule
  // of every request.
  size_t best = kNone;
  size_t best_at = 0;
  const size_t n = tag.size();
  // A tag usually starts with its '<', which then needs no search.
  const size_t first = !tag.empty() && tag[0] == '<' ? 0 : tag.find('<');
  // The next '<' from a place; what is left of a tag is mostly a few bytes,
  // looked at directly for less than a library call costs.
  auto next_open = [&](size_t from) {
    if (n - from > 8) return tag.find('<', from);
    for (; from < n; ++from) {
      if (tag[from] == '<') return from;
    }
    return std::string_view::npos;
  };
  size_t from = 0;
  for (size_t at = first; at != std::string_view::npos && best > 0; at = next_open(from)) {
    from = at + 1;
    // Every keyword has a byte after "<VAR_".
    if (n - at < 6) break;
    if (tag[at + 1] != 'V' || tag[at + 2] != 'A' || tag[at + 3] != 'R' || tag[at + 4] != '_') {
      continue;
    }
    const size_t found = keyword_at(tag, at, best);
    if (found < best) {
      best = found;
      best_at = at;
      from = at + kKeywords[found].text.size();  // a keyword holds no other '<'
    }
  }
  const char* p = tag.data();
  VarTypeAndOption result;
  if (best == kNone) return result;
  result.type = kKeywords[best].type;
  if (result.type == VAR_NUMBER_EN || result.type == VAR_NUMERAL_EN) return result;
  // The keyword itself holds neither '|' nor '>'.
  size_t bar = best_at + kKeywords[best].text.size();
  while (bar < n && p[bar] != '|') ++bar;
  size_t close = bar;
  while (close < n && p[close] != '>') ++close;
  if (close >= n) return result;
  std::string_view number = tag.substr(bar + 1, close - bar - 1);
  // A short plain number, the usual option, is read directly.
  if (!number.empty() && number.size() <= 4) {
    int32_t value = 0;
    bool plain = true;
    for (char c : number) {
      if (!is_digit(c)) {
        plain = false;
        break;
      }
      value = value * 10 + (c - '0');
    }
    if (plain) {
      result.option = value;
      return result;
    }
  }
  result.option = leading_int(number.substr(0, kOptionTextMax));
  return result;
}

namespace {

// Whether the n bytes at a and b are equal, for 8 <= n: word by word, the
// last word overlapping the one before (tags are compared for every slot of
// every rule line).
bool same_bytes(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i + 8 < n; i += 8) {
    if (load_word(a + i) != load_word(b + i)) return false;
  }
  return load_word(a + n - 8) == load_word(b + n - 8);
}

}  // namespace

VarTypeAndOption VarTypeMemo::of(std::string_view tag) {
  if (tag.size() < 8 || tag.size() > kTextMax) return var_type_of(tag);
  for (const Slot& slot : slots_) {
    if (slot.size == tag.size() && same_bytes(slot.text, tag.data(), tag.size())) {
      return slot.kind;
    }
  }
  Slot& slot = slots_[next_];
  next_ = (next_ + 1) % kSlots;
  slot.kind = var_type_of(tag);
  slot.size = static_cast<uint8_t>(tag.size());
  std::memcpy(slot.text, tag.data(), tag.size());
  return slot.kind;
}

}  // namespace vemba
