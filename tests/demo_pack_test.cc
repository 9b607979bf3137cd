// The US English demo pack in packs/en-us: its stored files match their
// sources, every rule is reachable and says what it should, every prompt the
// rules and the builders can ask for is recorded, and every rule runs through
// the request program without a missing recording.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "rules/rules_loader.h"
#include "rules/scramble.h"
#include "test_support.h"
#include "translate/translator.h"

namespace vemba {
namespace {

using test::read_file;
using test::run_process;
using test::TempDir;
using test::write_file;

const std::string kPack = std::string(VEMBA_SOURCE_DIR) + "/packs/en-us";

// A deployment in a temporary directory whose language pack root is the demo
// pack (or a copy of it), laid out the way ./demo lays out demo-run/.
struct DemoDeployment {
  explicit DemoDeployment(const std::string& pack_root = kPack, int channels = 1) {
    for (const char* sub : {"/config", "/www/tts", "/www/pages", "/logs"}) {
      test::make_dirs(dir.path() + sub);
    }
    write_file(config_dir() + "rules.dat", read_file(pack_root + "/rules.dat"));
    write_file(config_dir() + "contents.dat", read_file(pack_root + "/contents.dat"));
    write_file(config_dir() + "tts_vemba.cfg",
               "id=1\ncode=en\nversion=en-us demo\nlpdat=" + pack_root + "\nwwwroot=" + dir.path() +
                   "/www\nlpsounds=" + dir.path() + "/www/tts\nres_dir=" + dir.path() +
                   "/www/pages\nlog_dir=" + dir.path() +
                   "/logs\nrules=rules.dat\ncontents=contents.dat\nlog_level=2\nhold=5\n"
                   "hold_log=5\nchannels=" +
                   std::to_string(channels) + "\n");
  }
  std::string config_dir() const { return dir.path() + "/config/"; }
  std::string wav(const std::string& id) const {
    return dir.path() + "/www/tts/sound" + id + ".wav";
  }
  std::string page(const std::string& id) const { return dir.path() + "/www/pages/result" + id; }

  TempDir dir;
};

// The play time of a WAV file of 8,000 one-byte samples per second, found
// through its data chunk; -1 when the file is no RIFF WAVE file.
double wav_seconds(const std::string& wav) {
  if (wav.size() < 12 || wav.compare(0, 4, "RIFF") != 0 || wav.compare(8, 4, "WAVE") != 0) {
    return -1;
  }
  size_t at = 12;
  while (at + 8 <= wav.size()) {
    uint32_t size = 0;
    std::memcpy(&size, wav.data() + at + 4, 4);
    if (wav.compare(at, 4, "data") == 0) return size / 8000.0;
    at += 8 + size + (size & 1);
  }
  return -1;
}

TEST(DemoPackTest, StoredRulesAndContentsAreTheScrambledSources) {
  for (const char* name : {"rules", "contents"}) {
    std::string plain = read_file(kPack + "/" + name + ".txt");
    std::string stored = read_file(kPack + "/" + name + ".dat");
    ASSERT_FALSE(plain.empty()) << name;
    EXPECT_EQ(scramble_text(plain), stored)
        << name << ".dat is out of step with " << name << ".txt: run scripts/make-demo-pack";
    EXPECT_EQ(descramble_text(stored), plain) << name;
  }
}

// Loads the demo pack as a request would, with contents (text mode) so the
// descriptions can be checked as well.
class DemoPackRules : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(load_rules(fs_, log_, table_, kPack + "/rules.dat", kPack + "/contents.dat", 1, 1), 1)
        << console_.text();
  }

  PromptList translate(const std::string& message, int mode = 0) {
    Translator translator(log_, table_, clock_, clock_.now(), message, 1, mode, "en-us");
    return translator.translate();
  }

  PosixFileSystem fs_;
  StringConsole console_;
  // Wednesday 5 March 2008, noon.
  FixedClock clock_{utc_seconds(2008, 3, 5, 12)};
  Log log_{console_, clock_};
  LanguageTable table_;
};

TEST_F(DemoPackRules, LoadsEveryLineWithoutAMessage) {
  EXPECT_EQ(console_.text(), "");
  EXPECT_EQ(table_.get_rules(1).size(), 16u);
  EXPECT_EQ(table_.default_rule_index, 15);
}

// The recordings a message plays, written as their names: "*SYSCOM*x.wav"
// as x, caller file names as they are.
std::string played(const PromptList& prompts) {
  std::string text;
  for (const std::string& entry : prompts) {
    std::string name = entry;
    if (name.rfind("*SYSCOM*", 0) == 0 && name.size() > 12 &&
        name.compare(name.size() - 4, 4, ".wav") == 0) {
      name = name.substr(8, name.size() - 12);
    }
    if (!text.empty()) text += " ";
    text += name;
  }
  return text;
}

struct MessageCase {
  const char* message;
  const char* names;
};

// One message per rule (two where a rule has two ways), and what it says.
const MessageCase kMessages[] = {
    {"MSGS 3", "you_have 3 new messages"},
    {"MSGS 1", "you_have 1 new message"},
    {"ANNOUNCE 3|1|2|0|0|0|0", "you_have 3 new messages 1 of_which_is_urgent and 2 saved messages"},
    {"ANNOUNCE 0|0|0|2|1|0|1", "you_have 2 new faxes and 1 saved fax you_have 1 saved rec_call"},
    {"TIME 14:05", "the_time_is 2 o 5 pm"},
    {"DURATION 1:30", "the_call_lasted 1 hour 30 minutes"},
    {"DATE 3/3/2008", "monday march 3_numeral"},
    {"DATE 12/25/1999", "december 20 5_numeral 19 90 9"},
    {"MONEY 12.50", "your_balance_is 12 cur1P 50 cur2P"},
    {"MONEY -1.01", "your_balance_is negative_balance 1 cur1S 1 cur2S"},
    {"LOCALMONEY 1.50", "1 cur1S 50 cur2P"},
    {"FLOAT 3.05", "3 point 0 5"},
    {"DIGITS -42", "- silence300 4 silence300 2 silence300"},
    {"SPELL A-b", "a K_dash b"},
    {"WEBSPELL www.vemba.com", "www K_period v e m b a K_period com"},
    {"WORD tomorrow", "tomorrow"},
    {"NUMBER 1234567", "1 1,000,000 2 100 30 4 1000 5 100 60 7"},
    {"NUMERAL 21", "20 1_numeral"},
    {"PLAY greeting.wav", "greeting.wav"},
    {"hello", "h e l l o"},
};

TEST_F(DemoPackRules, EveryRuleIsReachedAndSaysItsMessage) {
  for (const MessageCase& c : kMessages) {
    console_.clear();
    EXPECT_EQ(played(translate(c.message)), c.names) << c.message << "\n" << console_.text();
  }
}

TEST_F(DemoPackRules, TextModeSaysTheLiteralsWithTheirDescriptions) {
  EXPECT_EQ(translate("MSGS 3", 1), (PromptList{"You have", "3", "new", "messages"}));
  EXPECT_EQ(translate("TIME 14:05", 1), (PromptList{"The time is", "2:05", "pm"}));
}

TEST_F(DemoPackRules, EveryLiteralHasADescription) {
  const std::vector<ContentsItem>& contents = table_.get_contents(1);
  for (const Rule& rule : table_.get_rules(1)) {
    for (const RuleItem& item : rule.items) {
      if (item.text[0] == '#') continue;
      bool described = false;
      for (const ContentsItem& entry : contents) {
        if (entry.name == item.text && !entry.description.empty()) described = true;
      }
      EXPECT_TRUE(described) << rule.name << ": " << item.text;
    }
  }
}

TEST(DemoPackTest, HasBothRecordingFormsAndSmallFiles) {
  int stored = 0, plain = 0;
  uintmax_t total = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kPack + "/en_1_bin")) {
    std::string ext = entry.path().extension();
    stored += ext == ".dat";
    plain += ext == ".raw";
    EXPECT_TRUE(ext == ".dat" || ext == ".raw") << entry.path();
    uintmax_t size = entry.file_size();
    // Every recording keeps 150 bytes of padding beyond what is heard.
    EXPECT_GT(size, 150u) << entry.path();
    total += size;
  }
  EXPECT_GT(stored, 100);
  EXPECT_GE(plain, 3);
  EXPECT_LT(total, 4u * 1024 * 1024);
  // 300 ms of mu-law silence, plus the padding the loader drops.
  std::string silence = read_file(kPack + "/en_1_bin/silence300.raw");
  EXPECT_EQ(silence, std::string(2400 + 150, '\xFF'));
}

TEST(DemoPackTest, PackToolFindsNoMissingRecording) {
  DemoDeployment deployment;
  test::ProcessResult result = run_process(VEMBA_PACK_PATH, {"missing", deployment.config_dir()});
  EXPECT_EQ(result.status, 0) << result.out;
  EXPECT_EQ(result.out, "");
}

TEST(DemoPackTest, PackToolNamesRecordingsTakenAway) {
  TempDir copy;
  std::filesystem::copy(kPack, copy.path(), std::filesystem::copy_options::recursive);
  // "new" is kept in the plain form, "you_have" (a literal) and "K_at" (a
  // builder name) in the stored form.
  for (const char* file : {"new.raw", "8y4_rk5o.dat", "K_k3.dat"}) {
    ASSERT_TRUE(std::filesystem::remove(copy.path() + "/en_1_bin/" + file)) << file;
  }
  DemoDeployment deployment(copy.path());
  test::ProcessResult result = run_process(VEMBA_PACK_PATH, {"missing", deployment.config_dir()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "you_have\nnew\nK_at\n");
}

TEST(DemoPackTest, AuditFlagsNothing) {
  // A temporary file that a killed import left behind is no recording.
  TempDir copy;
  std::filesystem::copy(kPack, copy.path(), std::filesystem::copy_options::recursive);
  write_file(copy.path() + "/en_1_bin/.tmp-0123456789abcdef.dat", "RIFF");
  DemoDeployment deployment(copy.path());
  test::ProcessResult text = run_process(VEMBA_PACK_PATH, {"audit", deployment.config_dir()});
  EXPECT_EQ(text.status, 0) << text.out;
  EXPECT_NE(text.out.find(" 0 missing; 0 with errors, 0 with warnings; median level -19.0 dBm0\n"),
            std::string::npos)
      << text.out;
  test::ProcessResult json =
      run_process(VEMBA_PACK_PATH, {"audit", "--json", deployment.config_dir()});
  EXPECT_EQ(json.status, 0);
  EXPECT_NE(json.out.find("\"missing\": 0, \"errors\": 0, \"warnings\": 0}}\n"), std::string::npos)
      << json.out;
}

// Runs every message of kMessages through the request program, one after
// the other, each with its own page name result<N>. With a channel per
// request no request waits for another's booking.
class DemoPackRequests : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    deployment_ = new DemoDeployment(kPack, 32);
    std::string script =
        "tts=$1; cfg=$2; out=$3; shift 3; i=0\n"
        "for m in \"$@\"; do\n"
        "  i=$((i+1))\n"
        "  ( \"$tts\" \"$cfg\" 1 \"$m\" 0 en-us result$i HTML http://127.0.0.1:8080 "
        ">\"$out/out$i\" 2>&1; echo $? >\"$out/status$i\" )\n"
        "done\n";
    std::vector<std::string> args = {
        "-c", script, "sh", VEMBA_TTS_PATH, deployment_->config_dir(), deployment_->dir.path()};
    for (const MessageCase& c : kMessages) args.push_back(c.message);
    test::ProcessResult result = run_process("/bin/sh", args);
    ASSERT_EQ(result.status, 0) << result.out;
  }
  static void TearDownTestSuite() {
    delete deployment_;
    deployment_ = nullptr;
  }

  static DemoDeployment* deployment_;
};

DemoDeployment* DemoPackRequests::deployment_ = nullptr;

TEST_F(DemoPackRequests, EveryRuleRunsWithoutAMissingRecording) {
  for (size_t i = 0; i < std::size(kMessages); ++i) {
    std::string id = std::to_string(i + 1);
    const char* message = kMessages[i].message;
    std::string out = read_file(deployment_->dir.path() + "/out" + id);
    EXPECT_EQ(read_file(deployment_->dir.path() + "/status" + id), "1\n") << message << out;
    EXPECT_EQ(out.find("RAW item"), std::string::npos) << message << "\n" << out;
    EXPECT_EQ(out.find("ERROR"), std::string::npos) << message << "\n" << out;
    EXPECT_NE(read_file(deployment_->page(id)).find("Sound file was succesfully created"),
              std::string::npos)
        << message;
    double seconds = wav_seconds(read_file(deployment_->wav(id)));
    EXPECT_GT(seconds, 0.3) << message;
    EXPECT_LT(seconds, 15) << message;
  }
}

TEST_F(DemoPackRequests, ThreeMessagesLastBetweenOneAndFiveSeconds) {
  double seconds = wav_seconds(read_file(deployment_->wav("1")));
  EXPECT_GT(seconds, 1.0);
  EXPECT_LT(seconds, 5.0);
}

TEST_F(DemoPackRequests, SoxReadsTheSoundAsTelephoneAudio) {
  if (!test::file_exists("/usr/bin/sox")) GTEST_SKIP() << "sox is not installed";
  test::ProcessResult rate = run_process("/usr/bin/sox", {"--i", "-r", deployment_->wav("1")});
  test::ProcessResult channels = run_process("/usr/bin/sox", {"--i", "-c", deployment_->wav("1")});
  test::ProcessResult encoding = run_process("/usr/bin/sox", {"--i", "-e", deployment_->wav("1")});
  test::ProcessResult duration = run_process("/usr/bin/sox", {"--i", "-D", deployment_->wav("1")});
  EXPECT_EQ(rate.out, "8000\n");
  EXPECT_EQ(channels.out, "1\n");
  EXPECT_EQ(encoding.out, "u-law\n");
  double seconds = std::stod(duration.out);
  EXPECT_NEAR(seconds, wav_seconds(read_file(deployment_->wav("1"))), 0.01);
}

}  // namespace
}  // namespace vemba
