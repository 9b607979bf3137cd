// Bringing a message into its canonical shape before rule matching: white
// space cleaned, double-quoted segments cut out into numbered place holders.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/log.h"
#include "platform/console.h"

namespace vemba {

/// Longest text clear_string accepts (it works in a 1024-byte buffer).
constexpr size_t kClearStringInputMax = 1022;

/// The text without leading and trailing white space, every other white-space
/// character turned into a blank; empty (with an error logged) when the text
/// is longer than kClearStringInputMax.
std::string clear_string(Log& log, std::string_view text);

/// The text with every double-quoted segment replaced by "<<n>>"; the inner
/// texts (doubled quotes collapsed) are appended to quoted_texts in place
/// holder order. Nothing (and an error logged) when the text holds "<<" or
/// ">>" or an odd number of double quotes.
std::optional<std::string> encode_template(Log& log, std::string_view text,
                                           std::vector<std::string>& quoted_texts);

/// The quoted text that the word's place holder names, or the word itself
/// when it holds none. Characters glued around the place holder are dropped.
const std::string& decode_template(const std::string& word,
                                   const std::vector<std::string>& quoted_texts);

/// The text with the first occurrence of find replaced by replacement (the
/// text unchanged when find does not occur). Any null argument gives nothing
/// and the message "ERROR !! <strRstr> NULL supplyed ...\n" on the console.
std::optional<std::string> strRstr(Console& console, const char* text, const char* find,
                                   const char* replacement);

}  // namespace vemba
