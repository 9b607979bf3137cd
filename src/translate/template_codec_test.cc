#include "translate/template_codec.h"

#include <gtest/gtest.h>

#include "translate/translate_test_util.h"

namespace vemba {
namespace {

TEST(ClearString, TrimsAndTurnsWhiteSpaceIntoBlanks) {
  struct Case {
    std::string input;
    std::string cleaned;
  } cases[] = {
      {"  hello\tworld \r\n", "hello world"},
      {"a\t\tb", "a  b"},
      {"\v\fx\ny\r", "x y"},
      {"", ""},
      {" \t \n", ""},
      {"one", "one"},
      {"\x80\xff", "\x80\xff"},  // bytes above 0x7F are not white space
      {" \xa0x\xa0 ", "\xa0x\xa0"},
  };
  for (const Case& c : cases) {
    test::LogCapture capture;
    EXPECT_EQ(clear_string(capture.log, c.input), c.cleaned) << c.input;
    EXPECT_TRUE(capture.records().empty()) << c.input;
  }
}

TEST(ClearString, LengthLimit) {
  test::LogCapture capture;
  std::string limit(1022, 'x');
  // White space counts towards the input limit.
  EXPECT_EQ(clear_string(capture.log, " " + limit.substr(2) + " "), limit.substr(2));
  EXPECT_EQ(clear_string(capture.log, limit), limit);
  EXPECT_TRUE(capture.records().empty());
  EXPECT_EQ(clear_string(capture.log, limit + "x"), "");
  EXPECT_EQ(capture.records(),
            std::vector<std::string>{
                "[ERR ] ERROR !! <clear_string> String is too long for TTS limited"});
}

TEST(EncodeTemplate, QuotedSegmentsBecomePlaceHolders) {
  struct Case {
    std::string input;
    std::string encoded;
    std::vector<std::string> quoted;
  } cases[] = {
      {"RULE \"a b\" \"z\"", "RULE <<0>> <<1>>", {"a b", "z"}},
      {"S \"\"\"hi\"\"\"", "S <<0>>", {"\"hi\""}},
      {"S \"\"", "S <<0>>", {""}},
      {"S \"\"\"\"\"\"", "S <<0>>", {"\"\""}},
      {"abc\"x y\"def", "abc<<0>>def", {"x y"}},
      {"\"a\"\"b\"", "<<0>>", {"a\"b"}},
      {"\"a\" \"\" \"c\"", "<<0>> <<1>> <<2>>", {"a", "", "c"}},
      {"no quotes here", "no quotes here", {}},
      {"\"<\" \"x>\"", "<<0>> <<1>>", {"<", "x>"}},
      {"\"1\"\"2\"x\"3\"", "<<0>>x<<1>>", {"1\"2", "3"}},
  };
  for (const Case& c : cases) {
    test::LogCapture capture;
    std::vector<std::string> quoted;
    std::optional<std::string> encoded = encode_template(capture.log, c.input, quoted);
    ASSERT_TRUE(encoded.has_value()) << c.input;
    EXPECT_EQ(*encoded, c.encoded) << c.input;
    EXPECT_EQ(quoted, c.quoted) << c.input;
    EXPECT_TRUE(capture.records().empty()) << c.input;
  }
}

TEST(EncodeTemplate, Rejections) {
  struct Case {
    std::string input;
    std::string record;
  } cases[] = {
      {"a \"b\" \"c", "[ERR ] ERROR !! <encode_template> Wrong number of apostrophes. "},
      {"\"", "[ERR ] ERROR !! <encode_template> Wrong number of apostrophes. "},
      {"a << b", "[ERR ] ERROR !! <encode_template> Forbidden symbols. "},
      {"a>>", "[ERR ] ERROR !! <encode_template> Forbidden symbols. "},
      {"\"x<<y\"", "[ERR ] ERROR !! <encode_template> Forbidden symbols. "},
      // The symbols are tested before the quotes are counted.
      {"\" >>", "[ERR ] ERROR !! <encode_template> Forbidden symbols. "},
  };
  for (const Case& c : cases) {
    test::LogCapture capture;
    std::vector<std::string> quoted;
    EXPECT_FALSE(encode_template(capture.log, c.input, quoted).has_value()) << c.input;
    EXPECT_TRUE(quoted.empty()) << c.input;
    EXPECT_EQ(capture.records(), std::vector<std::string>{c.record}) << c.input;
  }
}

TEST(DecodeTemplate, PlaceHoldersNameQuotedTexts) {
  const std::vector<std::string> quoted = {"x y", "second", ""};
  struct Case {
    std::string word;
    std::string decoded;
  } cases[] = {
      {"<<0>>", "x y"},        {"<<1>>", "second"}, {"<<2>>", ""},  {"abc<<0>>def", "x y"},
      {"<<1>>tail", "second"}, {"plain", "plain"},  {"<<0", "<<0"}, {"0>>", "0>>"},
      {">><<1", ">><<1"},      {"<<9>>", "<<9>>"},  // no such entry: the word stays
      {"<<<1>>", "x y"},                            // the first "<<" decides: "<1" reads as 0
  };
  for (const Case& c : cases) {
    EXPECT_EQ(decode_template(c.word, quoted), c.decoded) << c.word;
  }
}

TEST(StrRstr, ReplacesTheFirstOccurrence) {
  struct Case {
    const char* text;
    const char* find;
    const char* replacement;
    std::string result;
  } cases[] = {
      // A longer replacement makes room for itself without losing or
      // repeating a character.
      {"abcabc", "bc", "XYZ", "aXYZabc"},
      {"abcabc", "c", "<<0>>", "ab<<0>>abc"},
      {"abcabc", "abc", "", "abc"},
      {"abcabc", "zz", "Q", "abcabc"},
      {"abc", "abc", "<<12>>", "<<12>>"},
      {"a\"b c\"d", "\"b c\"", "<<0>>", "a<<0>>d"},
      {"", "", "x", "x"},
  };
  for (const Case& c : cases) {
    StringConsole console;
    std::optional<std::string> result = strRstr(console, c.text, c.find, c.replacement);
    ASSERT_TRUE(result.has_value()) << c.text;
    EXPECT_EQ(*result, c.result) << c.text << " / " << c.find;
    EXPECT_EQ(console.text(), "");
  }
}

TEST(StrRstr, NullArgumentsAreReportedOnTheConsole) {
  const char* args[3][3] = {{nullptr, "a", "b"}, {"a", nullptr, "b"}, {"a", "b", nullptr}};
  for (const auto& a : args) {
    StringConsole console;
    EXPECT_FALSE(strRstr(console, a[0], a[1], a[2]).has_value());
    EXPECT_EQ(console.text(), "ERROR !! <strRstr> NULL supplyed ...\n");
  }
}

}  // namespace
}  // namespace vemba
