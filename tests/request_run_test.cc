// The request run inside the test process, with a fixed clock (pacing waits
// are recorded, not slept) and file faults injected one call at a time.
#include "front/request_run.h"

#include <gtest/gtest.h>

#include "deployment.h"
#include "front/entry.h"

namespace vemba {
namespace {

// Fails chosen operations of the real file system.
class FaultyFileSystem : public PosixFileSystem {
 public:
  ReadStatus read_file(const std::string& path, std::string* out, size_t max_bytes) override {
    // The start-up check only opens the file (reads nothing); a request reads it.
    if (schedule_unreadable && ends_with(path, "sounds.dat") && max_bytes > 0) {
      return ReadStatus::kUnreadable;
    }
    return PosixFileSystem::read_file(path, out, max_bytes);
  }
  using FileSystem::read_file;
  bool write_file_atomic(const std::string& path, std::string_view data) override {
    if (wav_unwritable && ends_with(path, ".wav")) return false;
    return PosixFileSystem::write_file_atomic(path, data);
  }

  bool schedule_unreadable = false;
  bool wav_unwritable = false;

 private:
  static bool ends_with(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
  }
};

class RequestRunInProcess : public ::testing::Test {
 protected:
  RequestRunInProcess() : clock(::time(nullptr)) {
    deployment.write_rules(
        "<LANGUAGE ENGLISH>\n"
        "MSGS <VAR_NUMBER_EN> : you_have.wav #1 message.wav/messages.wav/1\n");
    deployment.add_prompt("you_have", test::samples(8150, 'Y'));
    deployment.add_prompt("3", test::samples(4150, '3'));
    deployment.add_prompt("messages", test::samples(4150, 'M'));
    deployment.write_config();
  }
  int run(const std::string& message) {
    std::vector<std::string> args = deployment.args(message);
    args.insert(args.begin(), "vemba_tts");
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    return vemba_tts_main(static_cast<int>(argv.size()), argv.data(), fs, clock, console);
  }
  bool has(const std::string& text) const { return console.text().find(text) != std::string::npos; }
  std::string page() const { return test::read_file(deployment.page_path()); }

  test::Deployment deployment;
  FaultyFileSystem fs;
  FixedClock clock;
  StringConsole console;
};

TEST_F(RequestRunInProcess, PacingWaitsForTheEarliestChannel) {
  int64_t now = clock.now();
  // Four channels busy for 9, 3, 5 and 3 more seconds: the last of the two
  // earliest is taken, and two seconds of sound are booked after it.
  test::write_file(deployment.sounds_dir() + "sounds.dat",
                   std::to_string(now + 9) + "\n" + std::to_string(now + 3) + "\n" +
                       std::to_string(now + 5) + "\n" + std::to_string(now + 3) + "\n");
  EXPECT_EQ(run("MSGS 3"), 1);
  EXPECT_EQ(clock.slept_ms(), 3000);
  EXPECT_EQ(test::read_file(deployment.sounds_dir() + "sounds.dat"),
            std::to_string(now + 9) + "\n" + std::to_string(now + 3) + "\n" +
                std::to_string(now + 5) + "\n" + std::to_string(now + 5) + "\n");
  EXPECT_EQ(test::read_file(deployment.wav_path()).size(), 58u + 8000 + 4000 + 4000);
}

TEST_F(RequestRunInProcess, UnreadableScheduleFailsTheRequest) {
  fs.schedule_unreadable = true;
  EXPECT_EQ(run("MSGS 3"), 1);
  EXPECT_TRUE(has("[ERR ] Unable to open [sounds.dat] file ...\n")) << console.text();
  EXPECT_NE(page().find("<var name=\"__ERR_CODE__\" expr = \"2\" />"), std::string::npos) << page();
  EXPECT_FALSE(test::file_exists(deployment.wav_path()));
  EXPECT_EQ(clock.slept_ms(), 0);
}

TEST_F(RequestRunInProcess, UnwritableSoundFileStillReportsSuccess) {
  fs.wav_unwritable = true;
  EXPECT_EQ(run("MSGS 3"), 1);
  EXPECT_TRUE(
      has("\nERROR!! UNABLE to OPEN File [" + deployment.root() + "/www/tts\\sound42.wav]\n"))
      << console.text();
  EXPECT_NE(page().find("<var name=\"__ERR_CODE__\" expr = \"0\" />"), std::string::npos);
  EXPECT_FALSE(test::file_exists(deployment.wav_path()));
}

TEST_F(RequestRunInProcess, FinishRunsAfterThePageAndClosesTheLog) {
  EXPECT_EQ(run("MSGS 3"), 1);
  // The sweep's notices come last and are not logged; the log is closed by then.
  test::write_file(deployment.wav_path("1"), "old");
  test::set_mtime(deployment.wav_path("1"), clock.now() - 301);
  console.clear();
  EXPECT_EQ(run("MSGS 3"), 1);
  std::string out = console.text();
  size_t notice = out.find("Deleting file = [sound1.wav] - ");
  ASSERT_NE(notice, std::string::npos) << out;
  EXPECT_EQ(out.find("[", notice + 40), std::string::npos) << "nothing logged after the sweep";
  EXPECT_EQ(deployment.log_text().find("Deleting file"), std::string::npos);
  EXPECT_FALSE(test::file_exists(deployment.wav_path("1")));
}

}  // namespace
}  // namespace vemba
