// Spelling a text character by character, with optional web words.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vemba {

/// The output limit of a builder, in characters.
constexpr size_t kBuilderOutputLimit = 10000;

/// Text mode (1): the value unchanged; otherwise spell_text. out is replaced.
void en_spell(int mode, int option, std::string& out, std::string_view value);

/// Spells text into out (replaced); with option 1 the web words http, www,
/// com, net, org and gov are said whole. 1 when every character was said.
int spell_text(std::string& out, std::string_view text, int option);

/// Length of the web word that text begins with (any letter case), copied
/// in lower case to word; 0 when none.
size_t web_word(std::string& word, std::string_view text);

}  // namespace vemba
