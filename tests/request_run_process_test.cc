// Whole requests of the request program against a temporary deployment:
// pages, sound files, the log, pacing between processes and the sweep.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <regex>

#include "deployment.h"
#include "expected_pages.h"

namespace vemba {
namespace {

const char kRules[] =
    "<!-- request run test rules\n"
    "<LANGUAGE ENGLISH>\n"
    "MSGS <VAR_NUMBER_EN> : you_have.wav #1 message.wav/messages.wav/1\n"
    "PLAY <VAR_WAV>: #1\n"
    "<!- EOF ->\n";

const char kContents[] =
    "<LANGUAGE ENGLISH>\n"
    "you_have.wav:you have\n"
    "message.wav:message\n"
    "messages.wav:messages\n";

std::string find_tool(const std::string& name) {
  const char* path = ::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string candidate = dirs.substr(start, end - start) + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return "";
}

// The sound file as sox reads it: rate, channels and encoding.
void expect_telephone_wav(const std::string& path) {
  std::string sox = find_tool("sox");
  if (sox.empty()) GTEST_SKIP() << "sox is not installed";
  struct Query {
    const char* option;
    const char* value;
  } queries[] = {{"-r", "8000\n"}, {"-c", "1\n"}, {"-e", "u-law\n"}};
  for (const Query& q : queries) {
    test::ProcessResult r = test::run_process(sox, {"--i", q.option, path});
    EXPECT_EQ(r.status, 0) << path;
    EXPECT_EQ(r.out, q.value) << path << " " << q.option;
  }
}

void expect_well_formed_xml(const std::string& path) {
  std::string xmllint = find_tool("xmllint");
  if (xmllint.empty()) GTEST_SKIP() << "xmllint is not installed";
  EXPECT_EQ(test::run_process(xmllint, {"--noout", path}).status, 0) << path;
}

// Log records of standard output, without their time stamps.
std::vector<std::string> records(const std::string& out) {
  std::vector<std::string> result;
  for (const std::string& line : test::lines_of(out)) {
    if (line.size() > 20 && line[4] == '/' && line[19] == ' ') result.push_back(line.substr(20));
  }
  return result;
}

bool has_record(const std::string& out, const std::string& record) {
  std::vector<std::string> all = records(out);
  return std::find(all.begin(), all.end(), record) != all.end();
}

class RequestRunTest : public ::testing::Test {
 protected:
  RequestRunTest() {
    deployment.write_rules(kRules);
    deployment.write_contents(kContents);
    deployment.add_stored_prompt("you_have", test::samples(1000, 'Y'));
    deployment.add_prompt("3", test::samples(1000, '3'));
    deployment.add_prompt("messages", test::samples(1000, 'M'));
    deployment.add_prompt("greeting", test::samples(2000, 'G'));
  }
  std::string sound_url(const std::string& id = "42") const {
    return deployment.base_url() + "/tts/sound" + id + ".wav";
  }
  std::string wav_samples(const std::string& id = "42") const {
    return test::read_file(deployment.wav_path(id)).substr(58);
  }

  test::Deployment deployment;
};

TEST_F(RequestRunTest, SuccessfulVoiceXmlRequest) {
  test::ProcessResult r = deployment.run("MSGS 3");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(test::read_file(deployment.page_path()), test::vxml_page(sound_url(), true));
  EXPECT_EQ(wav_samples(),
            test::samples(850, 'Y') + test::samples(850, '3') + test::samples(850, 'M'));
  expect_telephone_wav(deployment.wav_path());
  expect_well_formed_xml(deployment.page_path());

  std::vector<std::string> expected = {
      "[INFO] TTS_ID = '1'",
      "[INFO] TTS_VERSION = '1.0'",
      "[INFO] TTS_CODE = 'en'",
      "[INFO] TTS_RULES = 'rules.dat'",
      "[INFO] TTS_CONTENTS = 'contents.dat'",
      "[INFO] id = 1, message = 'MSGS 3', mode = 0, language_system_name = 'en-us'",
  };
  std::vector<std::string> recs = records(r.out);
  auto first = std::find(recs.begin(), recs.end(), expected[0]);
  ASSERT_NE(first, recs.end()) << r.out;
  for (size_t i = 0; i < expected.size(); ++i) {
    size_t at = static_cast<size_t>(first - recs.begin()) + i;
    ASSERT_LT(at, recs.size());
    EXPECT_EQ(recs[at], expected[i]);
  }
  // The day's log file holds the same records as standard output (after the
  // entry, which runs before the log file is opened).
  std::string log = deployment.log_text();
  EXPECT_NE(log.find("[INFO] TTS_ID = '1'\n"), std::string::npos);
  EXPECT_NE(log.find("[INFO] id = 1, message = 'MSGS 3'"), std::string::npos);
  EXPECT_EQ(test::lines_of(test::read_file(deployment.sounds_dir() + "sounds.dat")).size(), 4u);
}

TEST_F(RequestRunTest, HtmlPagesUseTheConfiguredImages) {
  deployment.set("html_background", "http://img/bg.gif");
  deployment.set("html_play_button", "http://img/play.gif");
  test::ProcessResult r = deployment.run("MSGS 3", "0", "result7", "html");
  EXPECT_EQ(r.status, 1);
  std::string page = test::read_file(deployment.page_path("result7"));
  EXPECT_NE(page.find("<BODY BACKGROUND=\"http://img/bg.gif\" FONT"), std::string::npos) << page;
  EXPECT_NE(page.find("<a href=\"" + sound_url("7") +
                      "\"><img border=\"0\" src=\"http://img/play.gif\"></a>\n"),
            std::string::npos)
      << page;
  expect_telephone_wav(deployment.wav_path("7"));
}

TEST_F(RequestRunTest, FailedRequestsStillGetAPage) {
  struct Case {
    const char* what;
    std::string message;
    std::string type;
    std::string page_start;
    std::string record;
  } cases[] = {
      {"no rule matches", "HELLO", "VXML", "<?xml version=\"1.0\"?>\n", ""},
      {"wrong script type", "MSGS 3", "xml", "<html>\n<HEAD>\n<TITLE>Vemba Solutions Failed",
       "[ERR ] Wrong type of script [xml] ..."},
  };
  for (const Case& c : cases) {
    test::ProcessResult r = deployment.run(c.message, "0", "result42", c.type);
    EXPECT_EQ(r.status, 1) << c.what;
    std::string page = test::read_file(deployment.page_path());
    EXPECT_EQ(page.rfind(c.page_start, 0), 0u) << c.what << "\n" << page;
    if (!c.record.empty()) {
      EXPECT_TRUE(has_record(r.out, c.record)) << c.what << r.out;
    }
  }
  // No rule matched: the failure page, and no sound file was written.
  std::remove(deployment.wav_path().c_str());
  test::ProcessResult r = deployment.run("HELLO");
  EXPECT_EQ(test::read_file(deployment.page_path()), test::vxml_page("", false));
  EXPECT_FALSE(test::file_exists(deployment.wav_path()));
  expect_well_formed_xml(deployment.page_path());
}

TEST_F(RequestRunTest, MissingPromptsAreSkippedUnlessNoneIsLeft) {
  struct Case {
    const char* message;
    std::string samples;  // the sound's; a failure leaves no sound
    std::vector<std::string> errors;
    bool success = true;
  } cases[] = {
      {"MSGS 7",
       test::samples(850, 'Y') + test::samples(850, 'M'),
       {"RAW item: [7] is missing ..."}},
      {"PLAY greeting.wav", test::samples(1850, 'G'), {}},
      // After a success of the same name: its sound must not pass for this one.
      {"PLAY nothing.wav",
       "",
       {"RAW item: [nothing] is missing ...",
        "ERROR !! <tts_process_request> No prompt of the message has audio"},
       false},
      {"PLAY ../secret.wav",
       "",
       {"RAW item: [../secret] is not a safe name ...",
        "ERROR !! <tts_process_request> No prompt of the message has audio"},
       false},
  };
  test::write_file(deployment.root() + "/packs/secret.raw", test::samples(1000, 'S'));
  for (const Case& c : cases) {
    test::ProcessResult r = deployment.run(c.message);
    EXPECT_EQ(r.status, 1) << c.message;
    EXPECT_EQ(test::read_file(deployment.page_path()),
              test::vxml_page(c.success ? sound_url() : "", c.success))
        << c.message;
    for (const std::string& error : c.errors) {
      EXPECT_TRUE(has_record(r.out, "[ERR ] " + error)) << c.message << r.out;
    }
    EXPECT_EQ(test::file_exists(deployment.wav_path()), c.success) << c.message;
    if (!c.success) continue;
    EXPECT_EQ(wav_samples(), c.samples) << c.message;
    expect_telephone_wav(deployment.wav_path());
  }
}

TEST_F(RequestRunTest, StartUpFailureStillSweeps) {
  int64_t old = ::time(nullptr) - 3600;
  struct File {
    std::string path;
    bool old;
    bool stays;
  } files[] = {
      {deployment.wav_path("1"), true, false},
      {deployment.wav_path("2"), false, true},
      {deployment.sounds_dir() + "sounds.dat", true, true},
      {deployment.page_path("result1"), true, false},
      {deployment.page_path("result2"), false, true},
      {deployment.log_dir() + "logTTS20000101.txt", true, true},  // kept for five days
  };
  for (const File& f : files) {
    test::write_file(f.path, "x\n");
    if (f.old) test::set_mtime(f.path, old);
  }
  deployment.unset("version");
  test::ProcessResult r = deployment.run("MSGS 3");
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(has_record(r.out, "[ERR ] No Language VERSION description...")) << r.out;
  EXPECT_TRUE(has_record(r.out, "[ERR ] Can't initialize Vemba TTS server ...")) << r.out;
  EXPECT_NE(r.out.find("Deleting file = [sound1.wav] - "), std::string::npos) << r.out;
  for (const File& f : files) EXPECT_EQ(test::file_exists(f.path), f.stays) << f.path;
  EXPECT_FALSE(test::file_exists(deployment.page_path()));
  // The record of the failure reached the day's log before it was closed.
  EXPECT_NE(deployment.log_text().find("[ERR ] Can't initialize Vemba TTS server ..."),
            std::string::npos);
}

TEST_F(RequestRunTest, TextMode) {
  test::ProcessResult r = deployment.run("MSGS 3", "1");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(test::read_file(deployment.page_path()), test::vxml_page(sound_url(), true));
  EXPECT_TRUE(has_record(r.out, "[ERR ] RAW item: [you have] is missing ...")) << r.out;
  // The texts of the list are looked up as recordings like any prompt: the
  // raw value 3 and the description "messages" happen to name one.
  EXPECT_EQ(wav_samples(), test::samples(850, '3') + test::samples(850, 'M'));
  expect_telephone_wav(deployment.wav_path());

  // Text mode needs the contents file; prompt mode does not.
  deployment.unset("contents");
  r = deployment.run("MSGS 3", "1");
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(has_record(r.out, "[ERR ] No Language CONTENTS description...")) << r.out;
  r = deployment.run("MSGS 3", "0");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(has_record(r.out, "[INFO] TTS_CONTENTS = ''")) << r.out;
}

TEST_F(RequestRunTest, ConcurrentRequestsShareTheChannels) {
  constexpr int kRequests = 32;
  constexpr int kChannels = 4;
  deployment.set("channels", std::to_string(kChannels));
  deployment.set("log_level", "2");
  deployment.write_config();
  // One second of audio after the trim, so each request books one second.
  deployment.add_prompt("greeting", test::samples(8000 + 150, 'G'));
  // Every channel busy a little into the future: the bookings then chain, and
  // the total booked time shows whether any booking was lost. The lead time
  // leaves room for all processes to start on a busy machine.
  int64_t base = ::time(nullptr) + 4;
  std::string schedule;
  for (int i = 0; i < kChannels; ++i) schedule += std::to_string(base) + "\n";
  test::write_file(deployment.sounds_dir() + "sounds.dat", schedule);

  std::vector<pid_t> pids;
  for (int i = 0; i < kRequests; ++i) {
    std::string id = std::to_string(100 + i);
    pids.push_back(deployment.start(deployment.args("PLAY greeting.wav", "0", "result" + id),
                                    deployment.root() + "/out" + id + ".txt"));
  }
  for (pid_t pid : pids) EXPECT_EQ(test::wait_process(pid), 1);

  std::vector<std::string> lines =
      test::lines_of(test::read_file(deployment.sounds_dir() + "sounds.dat"));
  ASSERT_EQ(lines.size(), static_cast<size_t>(kChannels));
  int64_t booked = 0;
  for (const std::string& line : lines) {
    int64_t value = std::stoll(line);
    EXPECT_GE(value, base + 1) << "every channel took bookings";
    booked += value - base;
  }
  EXPECT_EQ(booked, kRequests);

  std::regex whole_record(
      R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2} \[(ERR |WARN|INFO|VERB)\] [^\n]*)");
  std::vector<std::string> log_lines = test::lines_of(deployment.log_text());
  int request_records = 0;
  for (const std::string& line : log_lines) {
    EXPECT_TRUE(std::regex_match(line, whole_record)) << line;
    if (line.find("[INFO] id = 1, message = 'PLAY greeting.wav'") != std::string::npos) {
      ++request_records;
    }
  }
  EXPECT_EQ(request_records, kRequests);
  for (int i = 0; i < kRequests; ++i) {
    std::string id = std::to_string(100 + i);
    EXPECT_EQ(test::read_file(deployment.wav_path(id)).size(), 58u + 8000u) << id;
    EXPECT_EQ(test::read_file(deployment.page_path("result" + id)),
              test::vxml_page(sound_url(id), true))
        << id;
  }
}

}  // namespace
}  // namespace vemba
