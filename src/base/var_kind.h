// The kinds of rule variables and of message words.
#pragma once

#include <cstdint>

namespace vemba {

/// The kind of a rule variable or of a message word. The language's own
/// number kinds sit above 100, apart from the common ones.
enum VarType : int32_t {
  VAR_UNDEFINED = 0,
  VAR_INTEGER = 1,
  VAR_DIGITS = 2,
  VAR_WORD = 3,
  VAR_DATE = 4,
  VAR_TIME = 5,
  VAR_WAV = 6,
  VAR_ANNOUNCE = 7,
  VAR_SPELL = 8,
  VAR_FLOAT = 9,
  VAR_MONEY = 10,
  VAR_NUMBER_EN = 101,
  VAR_NUMERAL_EN = 102,
};

/// Kinds from here on belong to a language's phrase builders.
constexpr int32_t kFirstLanguageKind = 101;

}  // namespace vemba
