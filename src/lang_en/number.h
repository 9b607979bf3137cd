// Integers read aloud in US English: cardinal ("twenty-one") and numeral
// ("twenty-first") readings as prompt names, and the plural test.
//
// Every builder of this folder writes prompt-name text: recording base names
// separated by blanks, leading and trailing blanks allowed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vemba {

/// The kind if it is one of the English number kinds (101, 102), else 0.
int is_en_number_kind(int kind);

/// The builder of a number slot: in text mode (1) the value unchanged,
/// otherwise the cardinal (kind 101) or numeral (kind 102) reading.
void en_number(int mode, std::string& out, std::string_view value, int kind);

/// A signed integer text read aloud; out is replaced. text may view out.
void en_signed_number(std::string& out, std::string_view text, int numeral);

/// An unsigned value read aloud; out is replaced. The numeral reading (1)
/// reaches only the last three-digit group.
void en_cardinal(std::string& out, uint64_t value, int numeral);

/// One group below 1000, appended to out.
void en_hundreds(std::string& out, unsigned value, int numeral);

/// 1 for exactly one, 2 for every other value.
int plural_class(int64_t n);

}  // namespace vemba
