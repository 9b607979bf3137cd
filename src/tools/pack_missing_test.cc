#include "tools/pack_missing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/log.h"
#include "memory_file_system.h"
#include "platform/clock.h"
#include "rules/rule_line.h"
#include "test_support.h"

namespace vemba {
namespace {

using test::TempDir;
using test::write_file;

TEST(PackMissingTest, RulePromptNamesAreTheLiteralsOnceEach) {
  StringConsole console;
  FixedClock clock(0);
  Log log(console, clock);
  LoadReport report(log);
  RuleListBuilder builder;
  for (const char* line : {
           "MSGS <VAR_NUMBER_EN> : you_have.wav #1 message.wav/messages.wav/1",
           "BYE : messages.wav goodbye.wav you_have.wav",
           "PAIR <VAR_NUMBER_EN> <VAR_NUMBER_EN> : a.wav/1/b.wav/2 #2 #1",
       }) {
    ASSERT_EQ(parse_rule_line(report, line, builder), 1) << line << console.text();
  }
  const std::vector<Rule> rules = builder.take();
  // In list order (no name holds another, so file order), each once, with
  // references dropped and ".wav" cut off.
  EXPECT_EQ(rule_prompt_names(rules),
            (std::vector<std::string>{"you_have", "message", "messages", "goodbye", "a", "b"}));
}

TEST(PackMissingTest, RecordingIsFoundInTheFormsTheLoaderOpens) {
  const std::string long_name(60, 'n');
  struct Case {
    const char* what;
    std::string name;
    std::vector<std::string> files;  // created in the language directory
    bool found;
  } cases[] = {
      {"stored form", "abc", {"klm.dat"}, true},
      {"plain form", "abc", {"abc.raw"}, true},
      {"both forms", "abc", {"klm.dat", "abc.raw"}, true},
      {"plain name with the stored ending", "abc", {"abc.dat"}, false},
      {"stored name with the plain ending", "abc", {"klm.raw"}, false},
      {"capitals are not rotated", "K_at", {"K_k3.dat"}, true},
      {"sign characters keep their names", "+", {"+.dat"}, true},
      {"a directory is no recording", "abc", {"klm.dat/"}, false},
      {"nothing there", "abc", {}, false},
      {"a long name has only its plain form", long_name, {long_name + ".raw"}, true},
      {"a long name without a plain form", long_name, {}, false},
      {"a name leaving the directory", "../abc", {"../abc.raw", "../klm.dat"}, false},
  };
  for (const Case& c : cases) {
    MemoryFileSystem fs;
    fs.add_dir("/p/bin");
    for (const std::string& file : c.files) {
      if (file.back() == '/') {
        fs.add_dir("/p/bin/" + file);
      } else {
        fs.add_file("/p/bin/" + file, "\x7F\x7F");
      }
    }
    StringConsole console;
    EXPECT_EQ(has_recording(fs, console, c.name, "\\p\\bin\\"), c.found) << c.what;
  }
}

TEST(PackMissingTest, MissingRecordingsKeepTheOrderOfTheNames) {
  MemoryFileSystem fs;
  fs.add_file("/p/klm.dat", "x");  // abc
  fs.add_file("/p/zz.raw", "x");
  StringConsole console;
  EXPECT_EQ(missing_recordings(fs, console, {"q", "abc", "p", "zz", "b"}, "/p/"),
            (std::vector<std::string>{"q", "p", "b"}));
}

// The command against small deployments written by the test.
TEST(PackMissingTest, CommandReportsSettingsItCannotDoWithout) {
  struct Case {
    const char* what;
    std::string config;  // empty: no configuration file
    std::string err_part;
  } cases[] = {
      {"no configuration file", "", "tts_vemba.cfg: no such file"},
      {"no code", "id=1\nlpdat=P\nrules=rules.dat\n", "tts_vemba.cfg: no 'code' key"},
      {"no rules", "id=1\ncode=en\nlpdat=P\n", "tts_vemba.cfg: no 'rules' key"},
      {"no rules file", "id=1\ncode=en\nlpdat=P\nrules=none.dat\n", "did not load"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    if (!c.config.empty()) write_file(dir.file("tts_vemba.cfg"), c.config);
    test::ProcessResult result = test::run_process(
        "/bin/sh", {"-c", std::string(VEMBA_PACK_PATH) + " missing " + dir.path() + " 2>&1"});
    EXPECT_EQ(result.status, 1) << c.what;
    EXPECT_NE(result.out.find(c.err_part), std::string::npos) << c.what << "\n" << result.out;
  }
  test::ProcessResult usage = test::run_process(VEMBA_PACK_PATH, {"missing"});
  EXPECT_EQ(usage.status, 2);
}

}  // namespace
}  // namespace vemba
