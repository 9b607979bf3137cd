// The request run inside the test process, on files in memory with a fixed
// clock (pacing waits are recorded, not slept) and file faults injected.
#include "front/request_run.h"

#include <gtest/gtest.h>

#include "front/entry.h"
#include "memory_file_system.h"
#include "rules/scramble.h"

namespace vemba {
namespace {

constexpr const char* kConfig =
    "id=1\ncode=en\nversion=1.0\nlpdat=/packs\nwwwroot=/www\nlpsounds=/www/tts\n"
    "rules=rules.dat\ncontents=contents.dat\nlog_dir=/logs\nres_dir=/pages\nlog_level=3\n"
    "hold=5\nhold_log=5\nchannels=4\n";

class RequestRunInProcess : public ::testing::Test {
 protected:
  RequestRunInProcess() : clock(utc_seconds(2026, 12, 6, 9, 5, 3)), fs(clock) {
    fs.add_file("/cfg/tts_vemba.cfg", kConfig);
    fs.add_file("/cfg/rules.dat", scramble_text("<LANGUAGE ENGLISH>\n"
                                                "MSGS <VAR_NUMBER_EN> : you_have.wav #1 "
                                                "message.wav/messages.wav/1\n"));
    fs.add_file("/packs/en_1_bin/you_have.raw", std::string(8150, 'Y'));
    fs.add_file("/packs/en_1_bin/3.raw", std::string(4150, '3'));
    fs.add_file("/packs/en_1_bin/messages.raw", std::string(4150, 'M'));
    for (const char* dir : {"/www/tts", "/pages", "/logs"}) fs.add_dir(dir);
  }
  int run(const std::string& message) {
    const char* argv[] = {"vemba_tts", "/cfg/",    "1",    message.c_str(),        "0",
                          "en-us",     "result42", "VXML", "http://localhost:8080"};
    return vemba_tts_main(9, argv, fs, clock, console);
  }
  bool has(const std::string& text) const { return console.text().find(text) != std::string::npos; }
  std::string page() const { return fs.contents("/pages/result42").value_or(""); }

  FixedClock clock;
  MemoryFileSystem fs;
  StringConsole console;
};

TEST_F(RequestRunInProcess, PacingWaitsForTheEarliestChannel) {
  int64_t now = clock.now();
  // Four channels busy for 9, 3, 5 and 3 more seconds: the last of the two
  // earliest is taken, and two seconds of sound are booked after it.
  fs.add_file("/www/tts/sounds.dat", std::to_string(now + 9) + "\n" + std::to_string(now + 3) +
                                         "\n" + std::to_string(now + 5) + "\n" +
                                         std::to_string(now + 3) + "\n");
  EXPECT_EQ(run("MSGS 3"), 1);
  EXPECT_EQ(clock.slept_ms(), 3000);
  EXPECT_EQ(fs.contents("/www/tts/sounds.dat"),
            std::to_string(now + 9) + "\n" + std::to_string(now + 3) + "\n" +
                std::to_string(now + 5) + "\n" + std::to_string(now + 5) + "\n");
  EXPECT_EQ(fs.contents("/www/tts/sound42.wav").value_or("").size(), 58u + 8000 + 4000 + 4000);
}

TEST_F(RequestRunInProcess, UnreadableScheduleFailsTheRequest) {
  fs.fail(FsOp::kRead, "sounds.dat");
  EXPECT_EQ(run("MSGS 3"), 1);
  EXPECT_TRUE(has("[ERR ] Unable to open [sounds.dat] file ...\n")) << console.text();
  EXPECT_NE(page().find("<var name=\"__ERR_CODE__\" expr = \"2\" />"), std::string::npos) << page();
  EXPECT_FALSE(fs.exists("/www/tts/sound42.wav"));
  EXPECT_EQ(clock.slept_ms(), 0);
}

TEST_F(RequestRunInProcess, UnwritableSoundFileStillReportsSuccess) {
  fs.fail(FsOp::kAtomicWrite, ".wav");
  EXPECT_EQ(run("MSGS 3"), 1);
  EXPECT_TRUE(has("\nERROR!! UNABLE to OPEN File [/www/tts\\sound42.wav]\n")) << console.text();
  EXPECT_NE(page().find("<var name=\"__ERR_CODE__\" expr = \"0\" />"), std::string::npos);
  EXPECT_FALSE(fs.exists("/www/tts/sound42.wav"));
}

TEST_F(RequestRunInProcess, FinishRunsAfterThePageAndClosesTheLog) {
  EXPECT_EQ(run("MSGS 3"), 1);
  // The sweep's notices come last and are not logged; the log is closed by then.
  fs.add_file("/www/tts/sound1.wav", "old", clock.now() - 301);
  console.clear();
  EXPECT_EQ(run("MSGS 3"), 1);
  std::string out = console.text();
  size_t notice = out.find("Deleting file = [sound1.wav] - ");
  ASSERT_NE(notice, std::string::npos) << out;
  EXPECT_EQ(out.find("[", notice + 40), std::string::npos) << "nothing logged after the sweep";
  std::string log = fs.contents("/logs/logTTS20261206.txt").value_or("");
  EXPECT_NE(log.find("[INFO] TTS_ID = '1'"), std::string::npos) << log;
  EXPECT_EQ(log.find("Deleting file"), std::string::npos);
  EXPECT_FALSE(fs.exists("/www/tts/sound1.wav"));
}

}  // namespace
}  // namespace vemba
