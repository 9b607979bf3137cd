// Marks that prefix prompt names on their way from the translator to the
// audio loader.
#pragma once

#include <string_view>

namespace vemba {

/// A recording of the pack: the name after it is a prompt of the language
/// directory ("*SYSCOM*at.wav").
constexpr std::string_view kCommonMark = "*SYSCOM*";

/// A sound the caller named (a VAR_WAV slot): played as given, without the
/// pack's naming.
constexpr std::string_view kOwnFileMark = "*SYSNONE*";

}  // namespace vemba
