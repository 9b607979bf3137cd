#include "tools/pack_explain.h"

#include <gtest/gtest.h>

#include "memory_file_system.h"
#include "rules/scramble.h"
#include "tools/pack_commands.h"

namespace vemba {
namespace {

// A deployment of one small pack: configuration, stored rules and contents,
// and a language directory with some of the recordings.
class Explain : public ::testing::Test {
 protected:
  Explain() : clock_(utc_seconds(2008, 3, 5, 10)) {
    fs_.add_file("/pk/tts_vemba.cfg",
                 "id=3\ncode=en\nlpdat=/pk/packs\nrules=rules.dat\ncontents=contents.dat\n");
    fs_.add_file("/pk/rules.dat", scramble_text("<LANGUAGE ENGLISH>\n"
                                                "MSGS <VAR_NUMBER_EN> : you_have.wav #1 "
                                                "message.wav/messages.wav/1\n"
                                                "PLAY <VAR_WAV> : #1\n"
                                                "SAY <VAR_SPELL> : #1\n"));
    fs_.add_file("/pk/contents.dat", scramble_text("<LANGUAGE ENGLISH>\nyou_have.wav:You have\n"));
  }

  void add_language_dir() {
    fs_.add_file("/pk/packs/en_3_bin/you_have.raw", "x");
    fs_.add_file("/pk/packs/en_3_bin/d.dat", "x");  // the stored form of "3"
    fs_.add_file("/pk/packs/en_3_bin/own.raw", "x");
    fs_.add_file("/pk/packs/en_3_bin/messages.wav", "x");  // not a recording form
  }

  int run(std::vector<std::string> args) {
    args.insert(args.begin(), {"vemba_pack", "explain"});
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    PackEnv env{fs_, clock_, out_, err_};
    return vemba_pack_main(static_cast<int>(argv.size()), argv.data(), env);
  }

  MemoryFileSystem fs_;
  FixedClock clock_;
  StringConsole out_;
  StringConsole err_;
};

TEST_F(Explain, RuleValuesAndPrompts) {
  add_language_dir();
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;
  } cases[] = {
      {{"MSGS 3"},
       1,
       "message: MSGS 3\nmode: 0\nrule: MSGS (position 0)\nvalues: 1\n"
       "  #1 [3] VAR_NUMBER_EN option 0\nprompts: 3\n"
       "  *SYSCOM*you_have.wav\n  *SYSCOM*3.wav\n  *SYSCOM*messages.wav  [missing]\n"
       "missing recordings: 1 in " +
           std::string() + "DIR/packs/en_3_bin/\n"},
      {{"PLAY own.wav"},
       0,
       "message: PLAY own.wav\nmode: 0\nrule: PLAY (position 1)\nvalues: 1\n"
       "  #1 [own.wav] VAR_WAV option 0\nprompts: 1\n  own.wav\n"
       "missing recordings: 0 in DIR/packs/en_3_bin/\n"},
      {{" MSGS  1 ", "--mode", "1"},
       0,
       "message: MSGS  1\nmode: 1\nrule: MSGS (position 0)\nvalues: 1\n"
       "  #1 [1] VAR_NUMBER_EN option 0\nprompts: 3\n  You have\n  1\n  (empty entry)\n"},
      {{"SAY \"a b\" c"},
       1,
       "message: SAY <<0>> c\nmode: 0\nquoted: <<0>> = [a b]\n"
       "log: [WARN] WARNING !! NoMatch word: [c] for rule [SAY] found. Skipping ...\n"
       "rule: SAY (position 2)\nvalues: 1\n  #1 [a b] VAR_SPELL option 0\nprompts: 3\n"
       "  *SYSCOM*a.wav  [missing]\n  *SYSCOM*K_blank.wav  [missing]\n"
       "  *SYSCOM*b.wav  [missing]\nmissing recordings: 3 in DIR/packs/en_3_bin/\n"},
      {{"MSGS x"},
       1,
       "message: MSGS x\nmode: 0\n"
       "log: [WARN] WARNING !! NoMatch word: [x] for rule [MSGS] found. Skipping ...\n"
       "log: [ERR ] ERROR !! String: [x] doesn't match rule: [MSGS]\n"
       "log: [ERR ] ERROR !! <translate> Unable to match input string to any of the rules \n"
       "values: 0\nprompts: none, the translation failed\n"},
  };
  for (const Case& c : cases) {
    out_.clear();
    err_.clear();
    std::vector<std::string> args = {"/pk"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    EXPECT_EQ(run(args), c.status) << c.args[0];
    std::string expected = c.out;
    for (size_t at = expected.find("DIR"); at != std::string::npos; at = expected.find("DIR")) {
      expected.replace(at, 3, "/pk");
    }
    EXPECT_EQ(out_.text(), expected) << c.args[0];
    EXPECT_EQ(err_.text(), "") << c.args[0];
  }
}

TEST_F(Explain, WithoutLanguageDirectory) {
  EXPECT_EQ(run({"/pk", "MSGS 2"}), 0);
  EXPECT_NE(out_.text().find("  *SYSCOM*2.wav\n  *SYSCOM*messages.wav\n"
                             "recordings not checked: no directory /pk/packs/en_3_bin/\n"),
            std::string::npos)
      << out_.text();
}

TEST_F(Explain, CommandLineAndConfigurationProblems) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err_starts;
  } cases[] = {
      {{"only-dir"}, 2, "vemba_pack explain: expected CONFIG_DIR and MESSAGE\nusage:"},
      {{"DIR", "m", "--mode"}, 2, "vemba_pack explain: --mode needs a value\n"},
      {{"DIR", "m", "--mode", "x1"}, 2, "vemba_pack explain: --mode takes an integer, not 'x1'\n"},
      {{"DIR", "m", "--lang-system"}, 2, "vemba_pack explain: --lang-system needs a value\n"},
      {{"DIR", "m", "--verbose"}, 2, "vemba_pack explain: unknown option '--verbose'\nusage:"},
      {{"-q", "DIR", "m"}, 2, "vemba_pack explain: unknown option '-q'\n"},
      {{"/nonexistent", "m"}, 1, "vemba_pack explain: /nonexistent/tts_vemba.cfg: no such file\n"},
  };
  for (const Case& c : cases) {
    err_.clear();
    std::vector<std::string> args = c.args;
    if (args[0] == "DIR") args[0] = "/pk";
    EXPECT_EQ(run(args), c.status) << c.err_starts;
    EXPECT_EQ(err_.text().substr(0, c.err_starts.size()), c.err_starts);
  }
}

TEST_F(Explain, MissingKeysAndRules) {
  fs_.add_file("/pk/tts_vemba.cfg", "id=3\ncode=en\nlpdat=x\nrules=none.dat\n");
  EXPECT_EQ(run({"/pk", "MSGS 1", "--mode", "1"}), 1);
  EXPECT_NE(err_.text().find("no 'contents' key"), std::string::npos) << err_.text();
  err_.clear();
  EXPECT_EQ(run({"/pk", "MSGS 1"}), 1);
  EXPECT_NE(err_.text().find("vemba_pack explain: the rules file /pk/none.dat did not load\n"),
            std::string::npos)
      << err_.text();
}

TEST(VarTypeName, EveryKind) {
  struct Case {
    int32_t type;
    const char* name;
  } cases[] = {{0, "VAR_UNDEFINED"},    {1, "VAR_INTEGER"},  {2, "VAR_DIGITS"},
               {3, "VAR_WORD"},         {4, "VAR_DATE"},     {5, "VAR_TIME"},
               {6, "VAR_WAV"},          {7, "VAR_ANNOUNCE"}, {8, "VAR_SPELL"},
               {9, "VAR_FLOAT"},        {10, "VAR_MONEY"},   {101, "VAR_NUMBER_EN"},
               {102, "VAR_NUMERAL_EN"}, {11, "kind 11"},     {-1, "kind -1"}};
  for (const Case& c : cases) EXPECT_EQ(var_type_name(c.type), c.name);
}

}  // namespace
}  // namespace vemba
