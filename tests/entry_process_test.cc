// The request program's entry checks, run as a real process.
#include <gtest/gtest.h>

#include "test_support.h"

namespace vemba {
namespace {

class EntryProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::write_file(dir.file("tts_vemba.cfg"),
                     "id=1\ncode=en\nversion=1\nlpdat=" + dir.path() + "\nwwwroot=" + dir.path() +
                         "\nlpsounds=" + dir.path() +
                         "\nrules=rules.dat\ncontents=c.dat\nlog_dir=" + dir.path() +
                         "\nres_dir=" + dir.path() + "\nlog_level=1\nhold=x\n");
  }
  std::vector<std::string> args(const std::string& message = "MSGS 3",
                                const std::string& page = "result42") {
    return {dir.path() + "/", "1", message, "0", "en-us", page, "VXML", "http://h"};
  }
  // Standard output lines after the argument echo, without time stamps.
  static std::vector<std::string> records(const std::string& out) {
    std::vector<std::string> result;
    for (const std::string& line : test::lines_of(out)) {
      if (line.rfind("argv[", 0) != 0)
        result.push_back(line.substr(std::min<size_t>(20, line.size())));
    }
    return result;
  }

  test::TempDir dir;
};

TEST_F(EntryProcessTest, WrongArgumentCounts) {
  for (size_t count : {7u, 9u}) {
    std::vector<std::string> a = args();
    a.resize(count, "extra");
    test::ProcessResult r = test::run_process(VEMBA_TTS_PATH, a);
    EXPECT_EQ(r.status, 0);
    std::vector<std::string> lines = test::lines_of(r.out);
    ASSERT_EQ(lines.size(), count + 2);
    EXPECT_EQ(lines[0], std::string("argv[0] = ") + VEMBA_TTS_PATH);
    EXPECT_EQ(lines[2], "argv[2] = 1");
    EXPECT_EQ(records(r.out), std::vector<std::string>{
                                  "[ERR ] Wrong number of arguments for Vemba TTS server. argc=[" +
                                  std::to_string(count + 1) + "],"});
  }
}

TEST_F(EntryProcessTest, LoneOptionsAnswerOnStandardOutput) {
  struct Case {
    std::vector<std::string> args;
    const char* starts;
  } cases[] = {
      {{"--help"}, "usage: vemba_tts CONFIG_DIR"},
      {{"-h"}, "usage: vemba_tts CONFIG_DIR"},
      {{"--version"}, "vemba_tts 1."},
      // Beside other arguments an option is just a wrong count.
      {{"--help", "x"}, "argv[0] = "},
      {{"--verbose"}, "argv[0] = "},
  };
  for (const Case& c : cases) {
    test::ProcessResult r = test::run_process(VEMBA_TTS_PATH, c.args);
    EXPECT_EQ(r.status, 0) << c.args[0];
    EXPECT_EQ(r.out.rfind(c.starts, 0), 0u) << r.out;
  }
}

TEST_F(EntryProcessTest, RefusedRequestsExitWithZeroAndWriteNothing) {
  struct Case {
    const char* what;
    std::vector<std::string> args;
    const char* last_record;
  } cases[] = {
      {"message of 501", args("MSGS " + std::string(496, '3')),
       "[ERR ] Wrong value of argument(s) ..."},
      {"language system name of 101",
       {dir.path(), "1", "MSGS 3", "0", std::string(101, 'n'), "result42", "VXML", "u"},
       "[ERR ] Wrong value of argument(s) ..."},
      {"page name with a path", args("MSGS 3", "result/../../x"),
       "[ERR ] Wrong value of argument(s) ..."},
      {"page name with a quote", args("MSGS 3", "result\"onload=alert(1)"),
       "[ERR ] Wrong value of argument(s) ..."},
      {"id mismatch",
       {dir.path(), "7", "MSGS 3", "0", "en-us", "result42", "VXML", "u"},
       "[ERR ] LanguageID = [7] doesn't match LangPack ID..."},
      {"missing config",
       {dir.path() + "/none", "1", "MSGS 3", "0", "en-us", "result42", "VXML", "u"},
       "[ERR ] No Language ID description..."},
  };
  for (const Case& c : cases) {
    test::ProcessResult r = test::run_process(VEMBA_TTS_PATH, c.args);
    EXPECT_EQ(r.status, 0) << c.what;
    std::vector<std::string> recs = records(r.out);
    ASSERT_FALSE(recs.empty()) << c.what;
    EXPECT_EQ(recs.back(), c.last_record) << c.what;
    EXPECT_FALSE(test::file_exists(dir.file("sounds.dat"))) << c.what;
  }
}

TEST_F(EntryProcessTest, LimitsAreInclusive) {
  // 500 characters of message and 100 of language system name pass the entry;
  // the run then goes on to start-up, which finds no rules file here.
  std::vector<std::string> a = args("MSGS " + std::string(495, '3'));
  a[4] = std::string(100, 'n');
  test::ProcessResult r = test::run_process(VEMBA_TTS_PATH, a);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.find("Wrong value of argument(s)"), std::string::npos);
  EXPECT_NE(r.out.find("[ERR ] Can't initialize Vemba TTS server ..."), std::string::npos);
}

TEST_F(EntryProcessTest, SettingOdditiesReachStandardOutputOnly) {
  test::ProcessResult r = test::run_process(VEMBA_TTS_PATH, args("MSGS " + std::string(495, '3')));
  std::vector<std::string> recs = records(r.out);
  ASSERT_GE(recs.size(), 2u);
  // hold_log absent and hold=x: warnings at log level 1, before any log file exists.
  EXPECT_EQ(recs[0], "[WARN] Wrong value of TTS_HOLD_LOG Setting default = 5 days");
  EXPECT_EQ(recs[1], "[WARN] Wrong value of TTS_HOLD Setting default = 5 min");
}

}  // namespace
}  // namespace vemba
