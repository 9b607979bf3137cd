#include "audio/prompt_audio.h"

#include <gtest/gtest.h>

#include "memory_file_system.h"

namespace vemba {
namespace {

struct PromptFixture : ::testing::Test {
  PromptFixture() : clock(utc_seconds(2026, 12, 6, 9, 5, 3)), log(console, clock) {
    log.set_level(TTS_LL_VERB);
  }
  void put(const std::string& name, const std::string& bytes) { fs.add_file("/p/" + name, bytes); }
  void load(const std::string& name) { load_prompt(fs, log, console, audio, name, "/p/"); }

  MemoryFileSystem fs;
  FixedClock clock;
  StringConsole console;
  Log log;
  AudioBuffer audio;
};

TEST(PromptName, Preparation) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"*SYSCOM*abc.wav", "abc"},
      {"greeting.wav.old", "greeting"},
      {"greeting", "greeting"},
      {"x*SYSCOM*y.wav", "y"},
      {"*SYSCOM*a*SYSCOM*b.wav", "a*SYSCOM*b"},  // only the first mark goes
      {"a.wavb.wav", "a"},
      {"*SYSCOM*.wav", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(prepare_prompt_name(c.in), c.out) << c.in;
}

TEST(PromptName, StoredFormRotation) {
  StringConsole console;
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"abc", "klm"}, {"0123456789", "abcdefghij"}, {"pqz", "z09"},     {"A", "A"},
      {"a", "k"},     {"K_comma", "K_mywwk"},       {"x-y.z", "7-8.9"}, {"", ""},
  };
  for (const Case& c : cases) {
    std::optional<std::string> name = prompt_data_name(console, c.in);
    ASSERT_TRUE(name.has_value()) << c.in;
    EXPECT_EQ(*name, c.out) << c.in;
  }
  EXPECT_EQ(console.text(), "");
  EXPECT_EQ(prompt_data_name(console, std::string(49, 'a')), std::string(49, 'k'));

  std::string fifty(50, 'b');
  EXPECT_FALSE(prompt_data_name(console, fifty).has_value());
  EXPECT_EQ(console.text(), "ERROR!! Name [" + fifty + "] length longer than allowed ...\n");
}

TEST(PromptName, Safety) {
  struct Case {
    const char* name;
    bool safe;
  } cases[] = {
      {"greeting", true},      {"sub/greeting", true},
      {"sub\\greeting", true}, {"a..b", true},
      {"..a", true},           {"", true},
      {"..", false},           {"../x", false},
      {"..\\x", false},        {"sub/../../x", false},
      {"sub\\..\\x", false},   {"x/..", false},
      {"/etc/passwd", false},  {"\\etc\\passwd", false},
  };
  for (const Case& c : cases) EXPECT_EQ(is_safe_prompt_name(c.name), c.safe) << c.name;
}

TEST_F(PromptFixture, StoredFormIsPreferredOverPlainForm) {
  put("klm.dat", std::string(400, 'S'));
  put("abc.raw", std::string(400, 'P'));
  load("*SYSCOM*abc.wav");
  EXPECT_EQ(audio.bytes(), std::string(250, 'S'));

  audio.clear();
  fs.delete_file("/p/klm.dat");
  load("*SYSCOM*abc.wav");
  EXPECT_EQ(audio.bytes(), std::string(250, 'P'));
  EXPECT_EQ(console.text(), "");
}

TEST_F(PromptFixture, MissingPromptIsLoggedAndSkipped) {
  put("a.raw", std::string(1000, 'a'));
  load("a.wav");
  load("*SYSCOM*nothing.wav");
  EXPECT_EQ(audio.length(), 850);  // no trim for the missing one
  EXPECT_EQ(console.text(), "2026/12/06 09:05:03 [ERR ] RAW item: [nothing] is missing ...\n");
}

TEST_F(PromptFixture, TrimAfterEveryOpenedFile) {
  put("k1000.raw", std::string(1000, '1'));
  put("k2000.raw", std::string(2000, '2'));
  put("k0.raw", "");
  put("k100.raw", std::string(100, 'x'));
  put("k150.raw", std::string(150, 'y'));
  struct Case {
    std::vector<const char*> prompts;
    int32_t fill;
  } cases[] = {
      {{"k1000"}, 850},  {{"k1000", "k2000"}, 2700}, {{"k1000", "k0"}, 700},
      {{"k100"}, 0},  // never below zero
      {{"k150"}, 0},     {{"k1000", "k100"}, 800},   {{"k100", "k1000"}, 850},
      {{"k0", "k0"}, 0},
  };
  for (const Case& c : cases) {
    audio.clear();
    for (const char* p : c.prompts) load(p);
    EXPECT_EQ(audio.length(), c.fill) << c.prompts.size() << " " << c.prompts[0];
  }
  audio.clear();
  load("k1000");
  load("k2000");
  EXPECT_EQ(audio.bytes(), std::string(850, '1') + std::string(1850, '2'));
}

TEST_F(PromptFixture, OverLongNameFallsBackToPlainForm) {
  std::string name(55, 'n');
  put(name + ".raw", std::string(300, 'z'));
  load("*SYSCOM*" + name + ".wav");
  EXPECT_EQ(audio.length(), 150);
  EXPECT_EQ(console.text(), "ERROR!! Name [" + name + "] length longer than allowed ...\n");
}

TEST_F(PromptFixture, UnsafeNamesAreNeverOpened) {
  fs.add_dir("/p/lang");
  put("secret.raw", std::string(500, 's'));
  put("kusbod.dat", std::string(500, 's'));  // stored form of "secret"
  const std::string names[] = {"../secret.wav", "..\\secret.wav", "*SYSCOM*../secret.wav",
                               "/p/secret.wav"};
  for (const std::string& name : names) {
    console.clear();
    load_prompt(fs, log, console, audio, name, "/p/lang/");
    EXPECT_EQ(audio.length(), 0) << name;
    EXPECT_NE(console.text().find("[ERR ] RAW item: ["), std::string::npos) << name;
    EXPECT_NE(console.text().find("] is not a safe name ...\n"), std::string::npos) << name;
  }
}

TEST_F(PromptFixture, ByteLimit) {
  put("p.raw", std::string(200, 'p'));
  put("e.raw", "");
  struct Case {
    int32_t before;
    const char* prompt;
    int32_t after;
    bool warned;
  } cases[] = {
      {9999798, "p", 9999998 - 150, false},  // fills exactly to the limit
      {9999799, "p", 9999998 - 150, true},  {9999900, "p", 9999998 - 150, true},
      {9999998, "p", 9999998 - 150, true},  {9999998, "e", 9999998 - 150, false},
  };
  for (const Case& c : cases) {
    console.clear();
    audio.mutable_bytes().assign(static_cast<size_t>(c.before), 'b');
    load(c.prompt);
    EXPECT_EQ(audio.length(), c.after) << c.before;
    bool warned = console.text().find("[WARN] File too long. Item: [" + std::string(c.prompt) +
                                      "] ignored ...") != std::string::npos;
    EXPECT_EQ(warned, c.warned) << c.before;
  }
  audio.clear();
}

TEST(AudioDuration, WholeMilliseconds) {
  struct Case {
    int32_t bytes;
    int32_t ms;
  } cases[] = {{0, 0}, {7, 0}, {8, 1}, {16000, 2000}, {16007, 2000}, {9999998, 1249999}};
  for (const Case& c : cases) EXPECT_EQ(audio_duration_ms(c.bytes), c.ms) << c.bytes;
}

}  // namespace
}  // namespace vemba
