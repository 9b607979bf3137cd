#include "lang_en/spell.h"

#include <gtest/gtest.h>

#include "lang_en/test_names.h"

namespace vemba {
namespace {

using test::names;

TEST(SpellText, Names) {
  struct Case {
    const char* value;
    int option;
    const char* names;
    int result;
  } cases[] = {
      {"Ab1", 0, "a b 1", 1},
      {"A-B", 0, "a K_dash b", 1},
      {"a b", 0, "a K_blank b", 1},
      {"x@y", 0, "x K_at y", 1},
      {"WWWx", 1, "www x", 1},
      {"x.WWW", 0, "x K_period w w w", 1},
      {"x.WWW", 1, "x K_period www", 1},
      {"HTTP:x", 1, "http K_colon x", 1},
      {"network", 1, "net w o r k", 1},
      {"https", 1, "http s", 1},
      {"organ", 1, "org a n", 1},
      {"gov5", 1, "gov 5", 1},
      {"CoM", 1, "com", 1},
      {"co", 1, "c o", 1},
      {"www", 2, "w w w", 1},
      {"a\tb", 0, "a b", 0},
      {"\xe9t\xe9", 0, "t", 0},
      {"", 0, "", 1},
  };
  for (const Case& c : cases) {
    std::string out = "junk";
    EXPECT_EQ(spell_text(out, c.value, c.option), c.result) << c.value;
    EXPECT_EQ(names(out), c.names) << c.value;
  }
}

TEST(SpellText, EveryPunctuationRow) {
  const char* punctuation = "!@#$%^&*()_+=-~`:;\"'><,.?/|\\{}[] ";
  const char* expected =
      "K_exc_mark K_at K_pound K_dollar K_percent K_caret K_ampersand K_asterisk "
      "K_O_parenthesis K_C_parenthesis K_underscore K_plus K_equal K_dash K_tilde K_accent "
      "K_colon K_semi K_quotation K_apostrophe K_gt K_lt K_comma K_period K_question K_slash "
      "K_bar K_back K_O_curly K_C_curly K_O_square K_C_square K_blank";
  std::string out;
  EXPECT_EQ(spell_text(out, punctuation, 0), 1);
  EXPECT_EQ(names(out), expected);
  EXPECT_EQ(spell_text(out, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0), 1);
  EXPECT_EQ(names(out), "0 1 2 3 4 5 6 7 8 9 a b c d e f g h i j k l m n o p q r s t u v w x y z");
}

TEST(SpellText, OutputLimit) {
  // Each letter costs 2 of the 10,000: 4,999 fit below the limit.
  std::string out;
  EXPECT_EQ(spell_text(out, std::string(4999, 'a'), 0), 1);
  EXPECT_EQ(spell_text(out, std::string(5000, 'a'), 0), 0);
  size_t count = 0;
  for (char c : out) count += c == 'a';
  EXPECT_EQ(count, 4999u);
  EXPECT_LE(out.size(), kBuilderOutputLimit);

  // Web words are held to the same limit; a shorter name may still fit after one is dropped.
  std::string text(4998, 'a');
  text += "wwwb";
  EXPECT_EQ(spell_text(out, text, 1), 0);
  EXPECT_EQ(out.find("www"), std::string::npos);
  EXPECT_EQ(out.back(), 'b');
  EXPECT_LE(out.size(), kBuilderOutputLimit);

  // Characters without a row add nothing, so they cannot push out past the limit.
  EXPECT_EQ(spell_text(out, std::string(20000, '\t') + "a", 0), 0);
  EXPECT_EQ(names(out), "a");
}

TEST(EnSpell, Modes) {
  std::string out;
  en_spell(1, 1, out, "Www.X");
  EXPECT_EQ(out, "Www.X");
  en_spell(0, 1, out, "Www.X");
  EXPECT_EQ(names(out), "www K_period x");
  out = "a!";
  en_spell(0, 0, out, out);  // value may view out
  EXPECT_EQ(names(out), "a K_exc_mark");
}

TEST(WebWord, StartOfTextOnly) {
  std::string word = "old";
  EXPECT_EQ(web_word(word, "HtTpS://"), 4u);
  EXPECT_EQ(word, "http");
  EXPECT_EQ(web_word(word, "gov"), 3u);
  EXPECT_EQ(word, "gov");
  word = "kept";
  EXPECT_EQ(web_word(word, "ww"), 0u);
  EXPECT_EQ(web_word(word, "xwww"), 0u);
  EXPECT_EQ(word, "kept");
}

}  // namespace
}  // namespace vemba
