#include "audio/prompt_audio.h"

#include <gtest/gtest.h>

#include "audio/wav_writer.h"
#include "memory_file_system.h"

namespace vemba {
namespace {

struct PromptFixture : ::testing::Test {
  PromptFixture() : clock(utc_seconds(2026, 12, 6, 9, 5, 3)), log(console, clock) {
    log.set_level(TTS_LL_VERB);
  }
  void put(const std::string& name, const std::string& bytes) { fs.add_file("/p/" + name, bytes); }
  void load(const std::string& name) { load_prompt(fs, log, console, audio, name, "/p/"); }
  // The samples as the WAV file gets them.
  std::string gathered() {
    fs.add_dir("/out");
    EXPECT_TRUE(write_wave_file(fs, console, audio, "/out/s.wav"));
    return fs.contents("/out/s.wav").value_or("").substr(kWaveHeaderSize);
  }

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
  EXPECT_EQ(gathered(), std::string(250, 'S'));

  audio.clear();
  fs.delete_file("/p/klm.dat");
  load("*SYSCOM*abc.wav");
  EXPECT_EQ(gathered(), std::string(250, 'P'));
  EXPECT_EQ(console.text(), "");
}

TEST_F(PromptFixture, MissingPromptIsLoggedAndSkipped) {
  put("a.raw", std::string(1000, 'a'));
  load("a.wav");
  load("*SYSCOM*nothing.wav");
  EXPECT_EQ(audio.length(), 850);  // no trim for the missing one
  EXPECT_EQ(console.text(), "2026/12/06 09:05:03 [ERR ] RAW item: [nothing] is missing ...\n");
}

// The trim takes the last 150 bytes of the sound so far, so a prompt shorter
// than that eats into the one before.
TEST_F(PromptFixture, TrimAfterEveryOpenedFile) {
  put("k1000.raw", std::string(1000, '1'));
  put("k2000.raw", std::string(2000, '2'));
  put("k0.raw", "");
  put("k100.raw", std::string(100, 'x'));
  put("k150.raw", std::string(150, 'y'));
  put("k200.raw", std::string(200, 'z'));
  struct Case {
    std::vector<const char*> prompts;
    std::string sound;
  } cases[] = {
      {{"k1000"}, std::string(850, '1')},
      {{"k1000", "k2000"}, std::string(850, '1') + std::string(1850, '2')},
      {{"k1000", "k0"}, std::string(700, '1')},
      {{"k100"}, ""},  // never below zero
      {{"k150"}, ""},
      {{"k1000", "k100"}, std::string(800, '1')},
      {{"k100", "k1000"}, std::string(850, '1')},
      {{"k0", "k0"}, ""},
      {{"k1000", "k200", "k100"}, std::string(850, '1')},
      {{"k1000", "k200", "k0", "k200"}, std::string(750, '1') + std::string(50, 'z')},
      {{"k200", "k1000", "k0", "k0", "k0", "k0", "k0", "k100"},
       std::string(50, 'z') + std::string(50, '1')},
      {{"k1000", "nothing", "k1000"}, std::string(850, '1') + std::string(850, '1')},
  };
  for (const Case& c : cases) {
    audio.clear();
    for (const char* p : c.prompts) load(p);
    EXPECT_EQ(audio.length(), static_cast<int32_t>(c.sound.size())) << c.prompts.size();
    EXPECT_EQ(gathered(), c.sound) << c.prompts.size() << " " << c.prompts[0];
  }
}

TEST_F(PromptFixture, APromptSaidAgainIsOpenedOnce) {
  put("k1000.raw", std::string(1000, '1'));
  for (int i = 0; i < 3; ++i) load("k1000");
  // The missing stored form is looked for each time, the plain one opened once.
  EXPECT_EQ(fs.calls(FsOp::kRead), 4);
  EXPECT_EQ(gathered(), std::string(2550, '1'));
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
  put("b.raw", std::string(9999998, 'b'));
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
    audio.clear();
    ReadStatus status;
    audio.append("/p/b.raw", fs.open_read("/p/b.raw", &status), c.before);
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
