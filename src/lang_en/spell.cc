#include "lang_en/spell.h"

#include "platform/text_util.h"

namespace vemba {

namespace {

struct SpellRow {
  const char* text;
  const char* name;
};

// Looked up in order, first match wins; the empty row ends the table.
constexpr SpellRow kSpellTable[] = {
    {"0", "0"},
    {"1", "1"},
    {"2", "2"},
    {"3", "3"},
    {"4", "4"},
    {"5", "5"},
    {"6", "6"},
    {"7", "7"},
    {"8", "8"},
    {"9", "9"},
    {"a", "a"},
    {"b", "b"},
    {"c", "c"},
    {"d", "d"},
    {"e", "e"},
    {"f", "f"},
    {"g", "g"},
    {"h", "h"},
    {"i", "i"},
    {"j", "j"},
    {"k", "k"},
    {"l", "l"},
    {"m", "m"},
    {"n", "n"},
    {"o", "o"},
    {"p", "p"},
    {"q", "q"},
    {"r", "r"},
    {"s", "s"},
    {"t", "t"},
    {"u", "u"},
    {"v", "v"},
    {"w", "w"},
    {"x", "x"},
    {"y", "y"},
    {"z", "z"},
    {"!", "K_exc_mark"},
    {"@", "K_at"},
    {"#", "K_pound"},
    {"$", "K_dollar"},
    {"%", "K_percent"},
    {"^", "K_caret"},
    {"&", "K_ampersand"},
    {"*", "K_asterisk"},
    {"(", "K_O_parenthesis"},
    {")", "K_C_parenthesis"},
    {"_", "K_underscore"},
    {"+", "K_plus"},
    {"=", "K_equal"},
    {"-", "K_dash"},
    {"~", "K_tilde"},
    {"`", "K_accent"},
    {":", "K_colon"},
    {";", "K_semi"},
    {"\"", "K_quotation"},
    {"'", "K_apostrophe"},
    {">", "K_gt"},
    {"<", "K_lt"},
    {",", "K_comma"},
    {".", "K_period"},
    {"?", "K_question"},
    {"/", "K_slash"},
    {"|", "K_bar"},
    {"\\", "K_back"},
    {"{", "K_O_curly"},
    {"}", "K_C_curly"},
    {"[", "K_O_square"},
    {"]", "K_C_square"},
    {" ", "K_blank"},
    {"", ""},
};

constexpr const char* kWebWords[] = {"http", "www", "com", "net", "org", "gov"};

// The name that says c, or nullptr when the table has no row for it.
const char* spell_name(char c) {
  for (const SpellRow* row = kSpellTable; row->text[0] != '\0' || row->name[0] != '\0'; ++row) {
    if (row->text[0] == c) return row->name;
  }
  return nullptr;
}

}  // namespace

void en_spell(int mode, int option, std::string& out, std::string_view value) {
  if (mode == 1) {
    out = std::string(value);
    return;
  }
  spell_text(out, std::string(value), option);
}

size_t web_word(std::string& word, std::string_view text) {
  for (std::string_view w : kWebWords) {
    if (text.size() < w.size()) continue;
    bool same = true;
    for (size_t i = 0; i < w.size() && same; ++i) same = to_lower(text[i]) == w[i];
    if (same) {
      word = std::string(w);
      return w.size();
    }
  }
  return 0;
}

int spell_text(std::string& out, std::string_view text, int option) {
  std::string input(text);  // text may view out
  out.assign(1, ' ');
  size_t used = 0;
  int result = 1;
  // A name is written with its separating blank only when it fits, so out
  // never grows past kBuilderOutputLimit (used + 1 characters).
  auto write = [&](std::string_view name) {
    if (used + name.size() + 1 >= kBuilderOutputLimit) return false;
    out += ' ';
    out += name;
    used += name.size() + 1;
    return true;
  };
  std::string word;
  for (size_t i = 0; i < input.size();) {
    size_t n = option == 1 ? web_word(word, std::string_view(input).substr(i)) : 0;
    if (n > 0) {
      // Web words are held to the same limit as single characters.
      if (!write(word)) result = 0;
      i += n;
      continue;
    }
    const char* name = spell_name(to_lower(input[i]));
    if (name == nullptr || !write(name)) result = 0;
    ++i;
  }
  return result;
}

}  // namespace vemba
