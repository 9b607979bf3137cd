// Every prompt name the US English phrase builders can write, so a language
// pack can be checked for recordings it lacks.
#pragma once

#include <string>
#include <vector>

namespace vemba {

/// The prompt names the English builders produce (numbers, numerals, sign
/// words and characters, calendar and clock words, announcement words, plain
/// currency names, "point", letters, punctuation names, web words and the
/// digit pause "silence300"), each once. Currency names with a language
/// suffix depend on the request and are not listed.
std::vector<std::string> en_prompt_inventory();

}  // namespace vemba
