// The request run inside the test process, on files in memory with a fixed
// clock (pacing waits are recorded, not slept) and file faults injected.
#include "front/request_run.h"

#include <gtest/gtest.h>

#include "expected_pages.h"
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
  RequestRunInProcess() : clock(utc_seconds(2026, 12, 6, 9, 5, 3)), fs(clock) { lay_out(); }
  void lay_out() {
    fs.add_file("/cfg/tts_vemba.cfg", kConfig);
    fs.add_file("/cfg/rules.dat", scramble_text("<LANGUAGE ENGLISH>\n"
                                                "MSGS <VAR_NUMBER_EN> : you_have.wav #1 "
                                                "message.wav/messages.wav/1\n"));
    fs.add_file("/packs/en_1_bin/you_have.raw", std::string(8150, 'Y'));
    fs.add_file("/packs/en_1_bin/3.raw", std::string(4150, '3'));
    fs.add_file("/packs/en_1_bin/messages.raw", std::string(4150, 'M'));
    for (const char* dir : {"/www/tts", "/pages", "/logs"}) fs.add_dir(dir);
  }
  int run(const std::string& message, const char* mode = "0") {
    const char* argv[] = {"vemba_tts", "/cfg/",    "1",    message.c_str(),        mode,
                          "en-us",     "result42", "VXML", "http://localhost:8080"};
    return vemba_tts_main(9, argv, fs, clock, console);
  }
  // What an earlier request of the same name left, too recent to be swept.
  void leave_earlier_answer() {
    fs.add_file("/www/tts/sound42.wav", "stale sound", clock.now());
    fs.add_file("/pages/result42", "stale page", clock.now());
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

TEST_F(RequestRunInProcess, UnwritableFilesAreNeverPassedOffAsAnswers) {
  struct Case {
    FsOp op;
    const char* suffix;
    int status;
    const char* page;  // "success", "failure" or "none"
    const char* record;
  } cases[] = {
      {FsOp::kAtomicWrite, ".wav", 1, "failure",
       "[ERR ] Unable to write [/www/tts\\sound42.wav] file ..."},
      {FsOp::kRename, ".wav", 1, "failure",
       "[ERR ] Unable to write [/www/tts\\sound42.wav] file ..."},
      {FsOp::kAtomicWrite, "result42", 0, "none",
       "[ERR ] Unable to open [/pages\\result42] file ..."},
      {FsOp::kRename, "result42", 0, "none", "[ERR ] Unable to open [/pages\\result42] file ..."},
      // No lock, no booking.
      {FsOp::kLock, "sounds.dat.lock", 1, "failure",
       "[ERR ] Unable to lock [sounds.dat.lock] file ..."},
  };
  for (const Case& c : cases) {
    fs = MemoryFileSystem(clock);
    lay_out();
    leave_earlier_answer();
    console.clear();
    fs.fail(c.op, c.suffix);
    EXPECT_EQ(run("MSGS 3"), c.status) << c.suffix;
    EXPECT_TRUE(has(std::string(c.record) + "\n")) << console.text();
    EXPECT_NE(fs.contents("/www/tts/sound42.wav"), "stale sound") << c.suffix;
    std::string expected = std::string(c.page) == "none" ? "" : test::vxml_page("", false);
    EXPECT_EQ(page(), expected) << c.suffix;
  }
}

TEST_F(RequestRunInProcess, NoAudioFailsPromptModeButNotTextMode) {
  fs.add_file("/cfg/contents.dat", scramble_text("<LANGUAGE ENGLISH>\nyou_have.wav:you have\n"));
  for (const char* prompt : {"you_have.raw", "3.raw", "messages.raw"}) {
    fs.delete_file(std::string("/packs/en_1_bin/") + prompt);
  }
  EXPECT_EQ(run("MSGS 3", "0"), 1);
  EXPECT_TRUE(has("[ERR ] ERROR !! <tts_process_request> No prompt of the message has audio\n"));
  EXPECT_EQ(page(), test::vxml_page("", false));
  EXPECT_FALSE(fs.exists("/www/tts/sound42.wav"));
  // Text mode lists texts, not recordings: the empty sound is its answer.
  EXPECT_EQ(run("MSGS 3", "1"), 1);
  EXPECT_EQ(page(), test::vxml_page("http://localhost:8080/tts/sound42.wav", true));
  EXPECT_EQ(fs.contents("/www/tts/sound42.wav").value_or("").size(), 58u);
}

// Each file call of a whole request failing in turn: the exit status and the
// page tell the truth, and no success page stands over a missing or stale
// sound.
TEST_F(RequestRunInProcess, EveryFileFaultInTurn) {
  ASSERT_EQ(run("MSGS 3"), 1);
  const MemoryFileSystem clean = fs;
  const std::string success_page = page();
  int runs = 0;
  for (FsOp op : kAllFsOps) {
    for (int nth = 1; nth <= clean.calls(op); ++nth, ++runs) {
      fs = MemoryFileSystem(clock);
      lay_out();
      leave_earlier_answer();
      console.clear();
      fs.fail(op, "", nth);
      int status = run("MSGS 3");
      std::string where = "op " + std::to_string(static_cast<int>(op)) + " call " +
                          std::to_string(nth) + "\n" + console.text();
      std::optional<std::string> wav = fs.contents("/www/tts/sound42.wav");
      if (status == 0) {
        // No page from this run: the earlier one untouched (refused before
        // the request ran) or removed.
        EXPECT_TRUE(page().empty() || page() == "stale page") << where;
      } else if (page() == success_page) {
        ASSERT_TRUE(wav) << where;
        EXPECT_NE(*wav, "stale sound") << where;
      } else {
        EXPECT_EQ(page(), test::vxml_page("", false)) << where;
        EXPECT_TRUE(has("[ERR ] ")) << where;
      }
    }
  }
  EXPECT_GT(runs, 20);
}

TEST_F(RequestRunInProcess, FinishSweepsOncePerIntervalAfterThePage) {
  EXPECT_EQ(run("MSGS 3"), 1);
  fs.add_file("/www/tts/sound1.wav", "old", clock.now() - 301);
  // Swept a moment ago (sweep_interval is 60 seconds unless set): not again.
  EXPECT_EQ(run("MSGS 3"), 1);
  EXPECT_TRUE(fs.exists("/www/tts/sound1.wav"));
  // The sweep's notices come last and are not logged; the log is closed by then.
  clock.set_now(clock.now() + 60);
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
