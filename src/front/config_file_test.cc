#include "front/config_file.h"

#include <gtest/gtest.h>

#include "memory_file_system.h"
#include "platform/clock.h"
#include "platform/console.h"

namespace vemba {
namespace {

TEST(ConfigLookup, KeyValueQuirks) {
  struct Case {
    const char* file;
    const char* key;
    std::optional<std::string> value;
  } cases[] = {
      {"id=1\n", "id", "1"},
      {"id = 1\n", "id", std::nullopt},  // the key is "id " then
      {"id= 1\n", "id", " 1"},           // leading blanks belong to the value
      {"hold=7  \t\r\n", "hold", "7"},   // trailing white space and CRLF go
      {"rules=x=y\n", "rules", "x=y"},
      {"ID=1\n", "id", std::nullopt},  // case-sensitive
      {"just text\nid=2\n", "id", "2"},
      {"id=1\nid=2\n", "id", "1"},  // first wins
      {"idx=1\n", "id", std::nullopt},
      {"id=\n", "id", ""},
      {"code=en", "code", "en"},  // no final line end
  };
  for (const Case& c : cases) {
    bool too_long = false;
    std::vector<std::string> lines = split_config_lines(c.file, &too_long);
    EXPECT_EQ(find_config_value(lines, c.key), c.value) << c.file;
    EXPECT_FALSE(too_long);
  }
}

TEST(ConfigLookup, LongLinesAreReadInPieces) {
  std::string text = "pad=" + std::string(1019, 'x') + "id=5\n";  // piece 1 is 1023 chars
  bool too_long = false;
  std::vector<std::string> lines = split_config_lines(text, &too_long);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), 1023u);
  EXPECT_EQ(find_config_value(lines, "id"), "5");  // the second piece carries a key
}

TEST(ConfigLookup, HundredLineCache) {
  std::string hundred;
  for (int i = 0; i < 99; ++i) hundred += "k" + std::to_string(i) + "=v\n";
  hundred += "hold_log=9\n";
  bool too_long = true;
  EXPECT_EQ(find_config_value(split_config_lines(hundred, &too_long), "hold_log"), "9");
  EXPECT_FALSE(too_long);

  std::string more = "extra=1\n" + hundred;  // 101 lines: hold_log is past the cache
  EXPECT_EQ(find_config_value(split_config_lines(more, &too_long), "hold_log"), std::nullopt);
  EXPECT_TRUE(too_long);
}

class ConfigFileTest : public ::testing::Test {
 protected:
  ConfigFileTest() { fs.add_dir("/cfg"); }
  void write_config(const std::string& text) { fs.add_file("/cfg/tts_vemba.cfg", text); }

  MemoryFileSystem fs;
  FixedClock clock{utc_seconds(2026, 12, 6, 9, 5, 3)};
  StringConsole console;
  Log log{console, clock};
};

TEST_F(ConfigFileTest, DirectoryIsNormalisedOnFirstLookup) {
  write_config("id=1\n");
  ConfigFile with_slash(fs, log, "/cfg/");
  EXPECT_EQ(with_slash.tts_get_cfg_param("id"), "1");
  EXPECT_EQ(with_slash.directory(), "/cfg/");

  ConfigFile without(fs, log, "/cfg");
  EXPECT_EQ(without.tts_get_cfg_param("id"), "1");
  EXPECT_EQ(without.directory(), "/cfg\\");
}

TEST_F(ConfigFileTest, MissingFileIsLoggedOnEveryLookupAndRetried) {
  ConfigFile config(fs, log, "/cfg");
  EXPECT_EQ(config.tts_get_cfg_param("id"), std::nullopt);
  EXPECT_EQ(config.tts_get_cfg_param("code"), std::nullopt);
  EXPECT_EQ(console.text(),
            "2026/12/06 09:05:03 [ERR ] Can't open file: tts_vemba.cfg\n"
            "2026/12/06 09:05:03 [ERR ] Can't open file: tts_vemba.cfg\n");
  write_config("id=3\n");
  EXPECT_EQ(config.tts_get_cfg_param("id"), "3");
}

TEST_F(ConfigFileTest, NullKeyAndTooLongFile) {
  std::string text;
  for (int i = 0; i < 101; ++i) text += "k=v\n";
  write_config(text);
  ConfigFile config(fs, log, "/cfg");
  EXPECT_EQ(config.tts_get_cfg_param(nullptr), std::nullopt);
  EXPECT_EQ(config.tts_get_cfg_param("k"), "v");
  EXPECT_EQ(config.tts_get_cfg_param("k"), "v");  // the message comes once
  EXPECT_EQ(console.text(),
            "2026/12/06 09:05:03 [ERR ] tts_get_cfg_param: key = NULL\n"
            "2026/12/06 09:05:03 [ERR ] File: tts_vemba.cfg too long ...\n");
}

}  // namespace
}  // namespace vemba
