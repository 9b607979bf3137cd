#include "lang_en/prompt_inventory.h"

#include <string>

namespace vemba {

namespace {

// Names no builder derives from a number or a character.
constexpr const char* kWords[] = {
    // numbers beyond the digits and teens
    "20", "30", "40", "50", "60", "70", "80", "90", "100", "1000", "1,000,000", "1,000,000,000",
    // numerals exist only for the days of a month
    "20_numeral", "30_numeral",
    // sign words of numbers and decimals; a digit string says its sign character
    "plus", "minus", "+", "-",
    // dates
    "january", "february", "march", "april", "may", "june", "july", "august", "september",
    "october", "november", "december", "sunday", "monday", "tuesday", "wednesday", "thursday",
    "friday", "saturday", "tomorrow", "today", "yesterday",
    // clock times and durations ("o" is also the letter)
    "am", "pm", "hour", "hours", "minute", "minutes",
    // mailbox announcements
    "you_have_no_mess_fax_rec", "you_have", "new", "urgent", "saved", "and", "message", "messages",
    "of_which_is_urgent", "of_which_are_urgent", "fax", "faxes", "rec_call", "rec_calls",
    // money and decimals
    "cur1S", "cur1P", "cur2S", "cur2P", "negative_balance", "point",
    // punctuation when spelling
    "K_exc_mark", "K_at", "K_pound", "K_dollar", "K_percent", "K_caret", "K_ampersand",
    "K_asterisk", "K_O_parenthesis", "K_C_parenthesis", "K_underscore", "K_plus", "K_equal",
    "K_dash", "K_tilde", "K_accent", "K_colon", "K_semi", "K_quotation", "K_apostrophe", "K_gt",
    "K_lt", "K_comma", "K_period", "K_question", "K_slash", "K_bar", "K_back", "K_O_curly",
    "K_C_curly", "K_O_square", "K_C_square", "K_blank",
    // web words
    "http", "www", "com", "net", "org", "gov",
    // the pause after every spoken digit
    "silence300"};

}  // namespace

std::vector<std::string> en_prompt_inventory() {
  std::vector<std::string> names;
  for (int i = 0; i <= 19; ++i) names.push_back(std::to_string(i));
  for (int i = 1; i <= 19; ++i) names.push_back(std::to_string(i) + "_numeral");
  for (char c = 'a'; c <= 'z'; ++c) names.emplace_back(1, c);
  for (const char* word : kWords) names.emplace_back(word);
  return names;
}

}  // namespace vemba
