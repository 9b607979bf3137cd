// vemba_pack run as a process on temporary packs.
#include <gtest/gtest.h>

#include "rules/scramble.h"
#include "test_support.h"

namespace vemba {
namespace {

using test::lines_of;
using test::run_process;

// Runs vemba_pack with its standard error joined to standard output.
test::ProcessResult pack(const std::vector<std::string>& args) {
  std::string command = "exec \"$0\" \"$@\" 2>&1";
  std::vector<std::string> sh_args = {"-c", command, VEMBA_PACK_PATH};
  sh_args.insert(sh_args.end(), args.begin(), args.end());
  return run_process("/bin/sh", sh_args);
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(PackTool, UsageAndHelp) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string shows;
  } cases[] = {
      {{}, 2, "vemba_pack: no command given"},
      {{"--help"}, 0, "usage: vemba_pack COMMAND"},
      {{"-h"}, 0, "  check "},
      {{"frobnicate"}, 2, "vemba_pack: unknown command 'frobnicate'"},
      {{"--version"}, 0, "vemba_pack 1."},
      {{"--verbose"}, 2, "vemba_pack: unknown option '--verbose'"},
      {{"check", "--verbose", "dir"}, 2, "vemba_pack check: unknown option '--verbose'"},
      {{"scramble", "--help"}, 0, "usage: vemba_pack scramble IN OUT"},
      {{"descramble", "x", "-h"}, 0, "usage: vemba_pack descramble IN OUT"},
      {{"check", "--help"}, 0, "usage: vemba_pack check CONFIG_DIR"},
      {{"scramble", "only-in"}, 2, "vemba_pack scramble: expected IN and OUT"},
      {{"descramble", "a", "b", "c"}, 2, "vemba_pack descramble: expected IN and OUT"},
      {{"check"}, 2, "vemba_pack check: expected CONFIG_DIR"},
      {{"check", "a", "b"}, 2, "usage: vemba_pack check CONFIG_DIR"},
      {{"scramble", "/nonexistent/in", "/tmp/out"}, 1, "/nonexistent/in: no such file"},
      {{"check", "/nonexistent/dir"}, 1, "/nonexistent/dir/tts_vemba.cfg: no such file"},
      {{"-h"}, 0, "  audit "},
      {{"import", "--help"}, 0, "usage: vemba_pack import [--level DBM0] [--no-level] [--raw]"},
      {{"import", "a.wav"}, 2, "vemba_pack import: expected SOURCE... and CONFIG_DIR"},
      {{"import", "--level", "-70", "a.wav", "d"}, 2, "from -60 to 0, not '-70'"},
      {{"import", "--level", "-20", "--no-level", "a.wav", "d"}, 2, "exclude each other"},
      {{"import", "a.wav", "/nonexistent/dir"}, 1, "/nonexistent/dir/tts_vemba.cfg: no such"},
      {{"audit", "--json"}, 2, "vemba_pack audit: expected CONFIG_DIR"},
  };
  for (const Case& c : cases) {
    test::ProcessResult result = pack(c.args);
    std::string joined;
    for (const std::string& a : c.args) joined += a + " ";
    EXPECT_EQ(result.status, c.status) << joined << "\n" << result.out;
    EXPECT_TRUE(contains(result.out, c.shows)) << joined << "\n" << result.out;
  }
}

TEST(PackTool, ScrambleAndDescrambleRoundTrip) {
  test::TempDir dir;
  std::string plain = "<LANGUAGE>\r\nTIME <VAR_TIME>:\tat.wav #1\n\nlast line without break";
  test::write_file(dir.file("plain.txt"), plain);
  ASSERT_EQ(pack({"scramble", dir.file("plain.txt"), dir.file("stored.dat")}).status, 0);
  std::string stored = test::read_file(dir.file("stored.dat"));
  EXPECT_EQ(stored, scramble_text(plain));
  EXPECT_EQ(lines_of(stored).size(), lines_of(plain).size());
  ASSERT_EQ(pack({"descramble", dir.file("stored.dat"), dir.file("back.txt")}).status, 0);
  EXPECT_EQ(test::read_file(dir.file("back.txt")), plain);
  test::ProcessResult unwritable =
      pack({"scramble", dir.file("plain.txt"), dir.file("no/such/dir/out")});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_TRUE(contains(unwritable.out, "cannot be written")) << unwritable.out;
}

// A pack written in plain text, stored with `vemba_pack scramble`.
void make_pack(const test::TempDir& dir, const std::string& config, const std::string& rules,
               const std::string& contents) {
  test::write_file(dir.file("tts_vemba.cfg"), config);
  test::write_file(dir.file("rules.txt"), rules);
  test::write_file(dir.file("contents.txt"), contents);
  ASSERT_EQ(pack({"scramble", dir.file("rules.txt"), dir.file("rules.dat")}).status, 0);
  ASSERT_EQ(pack({"scramble", dir.file("contents.txt"), dir.file("contents.dat")}).status, 0);
}

TEST(PackTool, CheckGoodPack) {
  test::TempDir dir;
  make_pack(dir, "id=1\nrules=rules.dat\ncontents=contents.dat\n",
            "<!-- rules\n<LANGUAGE ENGLISH>\nTIME <VAR_TIME>: at.wav #1\n"
            "MINUTES <VAR_NUMBER_EN>: #1 minute.wav/minutes.wav/1\nDEFAULT <VAR_SPELL>: #1\n"
            "TIME_AM <VAR_TIME>: #1\n<!- EOF ->\n",
            "<LANGUAGE ENGLISH>\nat.wav:at\nminutes.wav:minutes\n");
  test::ProcessResult result = pack({"check", dir.path()});
  EXPECT_EQ(result.status, 0) << result.out;
  std::vector<std::string> lines = lines_of(result.out);
  std::vector<std::string> expected = {
      "rules: " + dir.path() + "/rules.dat",
      "contents: " + dir.path() + "/contents.dat",
      "language id: 1",
      "sections: 1",
      "rules in final order: 4",
      "  0 TIME_AM",
      "  1 TIME",
      "  2 MINUTES",
      "  3 DEFAULT",
      "DEFAULT position: 3",
      "contents entries: 2",
      "result: ok",
  };
  EXPECT_EQ(lines, expected);
}

TEST(PackTool, CheckBadPackListsRefusedLines) {
  test::TempDir dir;
  make_pack(dir, "id=1\nrules=rules.dat\ncontents=contents.dat\n",
            "<LANGUAGE>\nHOURS <VAR_NUMBER_EN>: #2\nOK: a.wav\nno separator\n",
            "<LANGUAGE>\nbroken\n");
  test::ProcessResult result = pack({"check", dir.path()});
  EXPECT_EQ(result.status, 1);
  std::string rules = dir.path() + "/rules.dat";
  std::string contents = dir.path() + "/contents.dat";
  for (const std::string& line : {
           rules + ":2: ERROR !! Wrong dependence definition [HOURS <VAR_NUMBER_EN>: #2]",
           rules + ":2: ERROR !! rule [HOURS <VAR_NUMBER_EN>: #2] is not applyed.",
           rules + ":4: Separator symbol : is missing in rule [no separator]",
           rules + ":4: ERROR !! rule [no separator] is not applyed.",
           contents + ":2: Separator symbol : is missing in line [broken]",
           contents + ":2: ERROR !! contents [broken] is not applyed.",
           std::string("  0 OK"),
           std::string("DEFAULT position: none"),
           std::string("contents entries: 0"),
           std::string("result: 6 message(s) about refused or ignored lines"),
       }) {
    EXPECT_TRUE(contains(result.out, line + "\n")) << line << "\n" << result.out;
  }
}

TEST(PackTool, CheckFailures) {
  struct Case {
    const char* name;
    std::string config;
    std::string rules;
    int status;
    std::string shows;
  } cases[] = {
      {"no header", "id=1\nrules=rules.dat\n", "A: a.wav\n", 1, "result: the load failed"},
      {"missing rules file", "id=1\nrules=none.dat\n", "", 1, "/none.dat: Unable to open file ("},
      {"missing contents file", "id=1\nrules=rules.dat\ncontents=none.dat\n", "<LANGUAGE>\n", 1,
       "result: the load failed"},
      {"no rules key", "id=1\n", "", 1, "tts_vemba.cfg: no 'rules' key"},
      {"no id key", "rules=rules.dat\n", "", 1, "tts_vemba.cfg: no 'id' key"},
      {"id 0 stores nothing", "id=0\nrules=rules.dat\n", "<LANGUAGE>\nA: a.wav\n", 1,
       "result: no section was stored"},
      {"without contents key", "id=2\nrules=rules.dat\n", "<LANGUAGE>\nA: a.wav\n", 0,
       "contents entries: not loaded (no 'contents' key)"},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    make_pack(dir, c.config, c.rules, "");
    test::ProcessResult result = pack({"check", dir.path()});
    EXPECT_EQ(result.status, c.status) << c.name << "\n" << result.out;
    EXPECT_TRUE(contains(result.out, c.shows)) << c.name << "\n" << result.out;
  }
}

}  // namespace
}  // namespace vemba
