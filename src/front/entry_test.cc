#include "front/entry.h"

#include <gtest/gtest.h>

#include "memory_file_system.h"
#include "test_support.h"

namespace vemba {
namespace {

constexpr const char* kGoodConfig =
    "id=1\n"
    "code=en\n"
    "version=1.0\n"
    "lpdat=/packs\n"
    "wwwroot=/srv/www\n"
    "lpsounds=/srv/www/tts\n"
    "rules=rules.dat\n"
    "contents=contents.dat\n"
    "log_dir=/logs/\n"
    "res_dir=/pages\\\n"
    "log_level=3\n"
    "hold=5\n"
    "hold_log=2\n";

class EntryTest : public ::testing::Test {
 protected:
  // Runs the entry with the eight request arguments (program path added).
  bool run(std::vector<std::string> args) {
    args.insert(args.begin(), "vemba_tts");
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    ctx = std::make_unique<Context>(fs, clock, console, "");
    return tts_entry(*ctx, static_cast<int>(argv.size()), argv.data(), &request);
  }
  std::vector<std::string> args(const std::string& message = "MSGS 3",
                                const std::string& page = "result42") {
    return {"/cfg", "1", message, "0", "en-us", page, "VXML", "http://host"};
  }
  void config(const std::string& text) { fs.add_file("/cfg/tts_vemba.cfg", text); }
  // The log records of the run, without their time stamps.
  std::vector<std::string> records() {
    std::vector<std::string> result;
    for (const std::string& line : test::lines_of(console.text())) {
      if (line.rfind("argv[", 0) == 0) continue;
      result.push_back(line.size() > 20 ? line.substr(20) : line);
    }
    return result;
  }

  MemoryFileSystem fs;
  FixedClock clock{utc_seconds(2026, 12, 6, 9, 5, 3)};
  StringConsole console;
  std::unique_ptr<Context> ctx;
  Request request;
};

TEST_F(EntryTest, AcceptedRequestDerivesPaths) {
  config(kGoodConfig);
  ASSERT_TRUE(run(args()));
  EXPECT_EQ(request.wav_path, "/srv/www/tts\\sound42.wav");
  EXPECT_EQ(request.page_path, "/pages\\result42");  // no second separator
  EXPECT_EQ(request.language_dir, "/packs\\en_1_bin\\");
  EXPECT_EQ(request.message, "MSGS 3");
  EXPECT_EQ(ctx->settings.config_dir, "/cfg\\");
  EXPECT_EQ(ctx->settings.hold_log_minutes, 2 * 1440);
  EXPECT_EQ(ctx->settings.log_level, 3);
  EXPECT_TRUE(records().empty());
  EXPECT_EQ(test::lines_of(console.text())[3], "argv[3] = MSGS 3");
}

TEST_F(EntryTest, ArgumentCount) {
  for (size_t count : {7u, 9u}) {
    console.clear();
    std::vector<std::string> a = args();
    a.resize(count, "x");
    EXPECT_FALSE(run(a));
    EXPECT_EQ(records(), std::vector<std::string>{
                             "[ERR ] Wrong number of arguments for Vemba TTS server. argc=[" +
                             std::to_string(count + 1) + "],"});
  }
}

TEST_F(EntryTest, Limits) {
  struct Case {
    const char* what;
    std::vector<std::string> args;
    bool accepted;
  };
  auto with = [&](size_t index, const std::string& value) {
    std::vector<std::string> a = args();
    a[index] = value;
    return a;
  };
  Case cases[] = {
      {"message 500", with(2, "MSGS " + std::string(495, 'x')), true},
      {"message 501", with(2, "MSGS " + std::string(496, 'x')), false},
      {"system name 100", with(4, std::string(100, 'n')), true},
      {"system name 101", with(4, std::string(101, 'n')), false},
      {"id as 01", with(1, "01"), true},
      // The sound's name, three characters longer, must fit a file name.
      {"page name 252", with(5, "result" + std::string(246, 'p')), true},
      {"page name 253", with(5, "result" + std::string(247, 'p')), false},
      {"page name 508", with(5, "result" + std::string(502, 'p')), false},
      {"script type 511", with(6, std::string(511, 'V')), true},
      {"script type 512", with(6, std::string(512, 'V')), false},
      {"base url 2560", with(7, std::string(2560, 'u')), true},
      {"base url 2561", with(7, std::string(2561, 'u')), false},
  };
  config(kGoodConfig);
  for (const Case& c : cases) {
    console.clear();
    EXPECT_EQ(run(c.args), c.accepted) << c.what;
    if (!c.accepted) {
      EXPECT_EQ(records().back(), "[ERR ] Wrong value of argument(s) ...") << c.what;
    }
  }
}

TEST_F(EntryTest, HostilePageNamesAreRefused) {
  config(kGoodConfig);
  const std::string names[] = {
      "", "res", "..", "result/../../x", "result\\..\\x", "result\"onload=x", "result'x",
      "result<b>", "result&amp", "result\t42", "result\x7f",
      // Bytes a page cannot carry, and what breaks the sound's URL.
      "result\x80", "r\xc3\xa9sult42", "result 42", "result#1", "result?a=1", "result%41",
      // Files that are not pages, wherever the directories lie.
      "sounds.dat", "SOUNDS.DAT", "sounds.dat.lock", "sounds.dat.sweep", ".tmp-0123456789abcdef",
      ".tmp-x.wav", "logTTS20261206.txt", "LOGtts1.TXT",
      // A temporary name beyond the file-name limit.
      "result." + std::string(240, 'y')};
  for (const std::string& name : names) {
    console.clear();
    EXPECT_FALSE(run(args("MSGS 3", name))) << name;
    EXPECT_EQ(records().back(), "[ERR ] Wrong value of argument(s) ...") << name;
  }
  for (const std::string& name : {std::string("result-42_x.y"), std::string("result42.html"),
                                  std::string("sounds.dat1"), std::string("logTTS1.txt.html"),
                                  "result" + std::string(200, 'x') + "." + std::string(30, 'y')}) {
    EXPECT_TRUE(run(args("MSGS 3", name))) << name;
  }
}

TEST_F(EntryTest, BaseUrlsThatWouldBreakThePageAreRefused) {
  config(kGoodConfig);
  struct Case {
    const char* url;
    bool accepted;
  } cases[] = {
      {"http://host:8080/app", true}, {"", true},
      {"http:\\\\host\\tts", true},   {"http://h/\"onclick=\"x", false},
      {"http://h/'+x+'", false},      {"http://h/<script>", false},
      {"http://h/?a=1&b=2", false},   {"http://h/\n", false},
      {"http://h\xc3\xa9/", false},   {"http://h/\x80", false},
  };
  for (const Case& c : cases) {
    std::vector<std::string> a = args();
    a[7] = c.url;
    console.clear();
    EXPECT_EQ(run(a), c.accepted) << c.url;
  }
}

TEST_F(EntryTest, ConfigurationFailures) {
  struct Case {
    const char* what;
    std::string config;
    std::vector<std::string> records;
  } cases[] = {
      {"no id", "code=en\n", {"[ERR ] No Language ID description..."}},
      {"id differs", "id=2\n", {"[ERR ] LanguageID = [1] doesn't match LangPack ID..."}},
      {"code and rules absent",
       "id=1\nlpdat=/p\nwwwroot=/w\nlpsounds=/s\nlog_dir=/l\nres_dir=/r\nlog_level=0\nhold=1\n"
       "hold_log=1\n",
       {"[ERR ] No Language CODE description...", "[ERR ] No Language RULES description..."}},
      {"output directories empty",
       "id=1\ncode=en\nrules=r\nlpdat=/p\nwwwroot=/w\nlpsounds=\nlog_dir=\nres_dir= \n"
       "log_level=0\nhold=1\nhold_log=1\n",
       {"[ERR ] No Language LPSOUNDS description...", "[ERR ] No Language LOG_DIR description...",
        "[ERR ] No Language RES_DIR description..."}},
      {"directories absent",
       "id=1\ncode=en\nrules=r\nwwwroot=/w\nlog_level=0\nhold=1\nhold_log=1\n",
       {"[ERR ] No Language LPDAT description...", "[ERR ] No Language LPSOUNDS description...",
        "[ERR ] No Language LOG_DIR description...", "[ERR ] No Language RES_DIR description..."}},
  };
  for (const Case& c : cases) {
    console.clear();
    config(c.config);
    EXPECT_FALSE(run(args())) << c.what;
    EXPECT_EQ(records(), c.records) << c.what;
  }
}

TEST_F(EntryTest, MissingFileLogsEveryLookup) {
  EXPECT_FALSE(run(args()));
  std::vector<std::string> expected(12, "[ERR ] Can't open file: tts_vemba.cfg");
  expected.push_back("[ERR ] No Language ID description...");
  EXPECT_EQ(records(), expected);
}

TEST_F(EntryTest, DefaultsAndWarnings) {
  struct Case {
    const char* settings;
    int log_level;
    int64_t hold;
    int64_t hold_log_minutes;
    int64_t sweep_interval;
    std::vector<std::string> records;
  } cases[] = {
      {"log_level=1\nhold=0\nhold_log=-3\nsweep_interval=-1\n",
       1,
       5,
       5 * 1440,
       60,
       {"[WARN] Wrong value of TTS_HOLD_LOG Setting default = 5 days",
        "[WARN] Wrong value of TTS_HOLD Setting default = 5 min",
        "[WARN] Wrong value of TTS_SWEEP_INTERVAL Setting default = 60 sec"}},
      {"log_level=abc\nhold=abc\nsweep_interval=0\n", 0, 5, 5 * 1440, 0, {}},
      {"hold=7\nhold_log=1\nsweep_interval=300\n",
       2,
       7,
       1440,
       300,
       {"[ERR ] TTS_LOG_LEVEL is NOT specified. Setting default = [TTS_LL_INFO]..."}},
      {"log_level=3\n",
       3,
       5,
       5 * 1440,
       60,  // sweep_interval absent: no word of it
       {"[WARN] Wrong value of TTS_HOLD_LOG Setting default = 5 days",
        "[WARN] Wrong value of TTS_HOLD Setting default = 5 min"}},
  };
  for (const Case& c : cases) {
    console.clear();
    config(std::string("id=1\ncode=en\nlpdat=/p\nwwwroot=/w\nlpsounds=/s\nrules=r\n"
                       "log_dir=/l\nres_dir=/r\n") +
           c.settings);
    EXPECT_TRUE(run(args())) << c.settings;
    EXPECT_EQ(ctx->settings.log_level, c.log_level) << c.settings;
    EXPECT_EQ(ctx->settings.hold_minutes, c.hold) << c.settings;
    EXPECT_EQ(ctx->settings.hold_log_minutes, c.hold_log_minutes) << c.settings;
    EXPECT_EQ(ctx->settings.sweep_interval_seconds, c.sweep_interval) << c.settings;
    EXPECT_EQ(records(), c.records) << c.settings;
  }
}

TEST_F(EntryTest, WwwRootDefault) {
  config("id=1\ncode=en\nlpdat=/p\nlpsounds=/s\nrules=r\nlog_dir=/l\nres_dir=/r\n");
  EXPECT_TRUE(run(args()));
  EXPECT_EQ(ctx->settings.wwwroot, "C:\\Inetpub\\wwwroot");
  EXPECT_EQ(records()[0],
            "[ERR ] TTS_WWWROOT is NOT specified. Setting default = [C:\\Inetpub\\wwwroot]...");
}

}  // namespace
}  // namespace vemba
