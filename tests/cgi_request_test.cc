// vemba_cgi's answers inside the test process, on files in memory: the page
// for every request that gets one, a reason otherwise, and the deployment's
// faults told apart from the caller's.
#include "tools/cgi_request.h"

#include <gtest/gtest.h>

#include "expected_pages.h"
#include "memory_file_system.h"
#include "rules/scramble.h"

namespace vemba {
namespace {

constexpr const char* kConfig =
    "id=1\ncode=en\nversion=1.0\nlpdat=/packs\nwwwroot=/www\nlpsounds=/www/tts\n"
    "rules=rules.dat\ncontents=contents.dat\nlog_dir=/logs\nres_dir=/pages\nlog_level=3\n"
    "channels=4\nbase_url=http://vemba.example\n";

class CgiRequest : public ::testing::Test {
 protected:
  CgiRequest() : clock(utc_seconds(2026, 12, 6, 9, 5, 3)), fs(clock) {
    fs.add_file("/cfg/tts_vemba.cfg", kConfig);
    fs.add_file("/cfg/rules.dat", scramble_text("<LANGUAGE ENGLISH>\n"
                                                "MSGS <VAR_NUMBER_EN> : you_have.wav #1 "
                                                "message.wav/messages.wav/1\n"));
    for (const char* name : {"you_have", "3", "messages"}) {
      fs.add_file(std::string("/packs/en_1_bin/") + name + ".raw", std::string(4150, 'x'));
    }
    for (const char* dir : {"/www/tts", "/pages", "/logs"}) fs.add_dir(dir);
  }
  CgiResponse get(const std::string& query) {
    return cgi_respond({"GET", query, "", "", "/cfg"}, "42", fs, clock);
  }
  bool wrote_anything() {
    return fs.exists("/pages/result42") || fs.exists("/www/tts/sound42.wav") ||
           fs.exists("/www/tts/sounds.dat");
  }

  FixedClock clock;
  MemoryFileSystem fs;
};

TEST_F(CgiRequest, AnswersWithThePageItWrote) {
  struct Case {
    std::string query;
    std::string content_type;
    std::string starts;
  } cases[] = {
      {"message=MSGS+3", "application/voicexml+xml",
       test::vxml_page("http://vemba.example/tts/sound42.wav", true)},
      {"message=MSGS+3&script_type=html", "text/html; charset=utf-8",
       "<html>\n<HEAD>\n<TITLE>Vemba Solutions Play Page"},
      // Failed requests and wrong types still get their page, with 200.
      {"message=", "application/voicexml+xml", test::vxml_page("", false)},
      {"message=MSGS+3&script_type=xml", "text/html; charset=utf-8",
       "<html>\n<HEAD>\n<TITLE>Vemba Solutions Failed Page"},
  };
  for (const Case& c : cases) {
    CgiResponse r = get(c.query);
    EXPECT_EQ(r.status, 200) << c.query << r.body;
    EXPECT_EQ(r.content_type, c.content_type) << c.query;
    EXPECT_EQ(r.body.substr(0, c.starts.size()), c.starts) << c.query;
    EXPECT_EQ(fs.contents("/pages/result42"), r.body) << c.query;
  }
}

TEST_F(CgiRequest, FormPost) {
  CgiInput in{"POST", "message=ignored", "Application/X-WWW-Form-Urlencoded; charset=UTF-8",
              "message=MSGS+3&mode=0&language_id=1&language_system_name=en-us", "/cfg"};
  CgiResponse r = cgi_respond(in, "42", fs, clock);
  EXPECT_EQ(r.status, 200) << r.body;
  EXPECT_EQ(r.body, test::vxml_page("http://vemba.example/tts/sound42.wav", true));
}

TEST_F(CgiRequest, RefusalsAndFaults) {
  struct Case {
    const char* what;
    CgiInput in;
    std::string page_id;
    int status;
    std::string body;
  } cases[] = {
      {"method",
       {"HEAD", "message=MSGS+3", "", "", "/cfg"},
       "42",
       400,
       "only GET and POST are answered\n"},
      {"post type",
       {"POST", "", "text/plain", "message=MSGS+3", "/cfg"},
       "42",
       400,
       "a POST takes a form body (application/x-www-form-urlencoded)\n"},
      {"query",
       {"GET", "message=a&message=b", "", "", "/cfg"},
       "42",
       400,
       "parameter 'message' given more than once\n"},
      {"language",
       {"GET", "message=MSGS+3&language_id=2", "", "", "/cfg"},
       "42",
       400,
       "refused: LanguageID = [2] doesn't match LangPack ID...\n"},
      {"page name check",
       {"GET", "message=MSGS+3", "", "", "/cfg"},
       "/../x",
       400,
       "refused: Wrong value of argument(s) ...\n"},
      {"no config dir",
       {"GET", "message=MSGS+3", "", "", ""},
       "42",
       500,
       "VEMBA_CONFIG_DIR is not set\n"},
      {"no page id",
       {"GET", "message=MSGS+3", "", "", "/cfg"},
       "",
       500,
       "no fresh page name could be made\n"},
      {"no configuration",
       {"GET", "message=MSGS+3", "", "", "/none"},
       "42",
       500,
       "tts_vemba.cfg cannot be read or has no base_url\n"},
  };
  for (const Case& c : cases) {
    CgiResponse r = cgi_respond(c.in, c.page_id, fs, clock);
    EXPECT_EQ(r.status, c.status) << c.what;
    EXPECT_EQ(r.content_type, "text/plain; charset=utf-8") << c.what;
    EXPECT_EQ(r.body, c.body) << c.what;
    EXPECT_FALSE(wrote_anything()) << c.what;
  }
}

TEST_F(CgiRequest, RulesThatCannotLoad) {
  fs.fail(FsOp::kRead, "rules.dat");
  CgiResponse r = get("message=MSGS+3");
  EXPECT_EQ(r.status, 500);
  EXPECT_EQ(r.body, "no page was written: Can't initialize Vemba TTS server ...\n");
  EXPECT_NE(r.diagnostics.find("rules.dat"), std::string::npos) << r.diagnostics;
}

TEST_F(CgiRequest, PageThatCannotBeWritten) {
  fs.fail(FsOp::kAtomicWrite, "result42");
  CgiResponse r = get("message=MSGS+3");
  EXPECT_EQ(r.status, 500);
  EXPECT_EQ(r.body, "no page was written: Unable to open [/pages\\result42] file ...\n");
}

TEST(CgiResponseText, StatusHeadersAndBody) {
  EXPECT_EQ(cgi_response_text({400, "text/plain; charset=utf-8", "why\n", "records"}),
            "Status: 400 Bad Request\r\nContent-Type: text/plain; charset=utf-8\r\n"
            "Cache-Control: no-store\r\nContent-Length: 4\r\n\r\nwhy\n");
  EXPECT_EQ(cgi_response_text({200, "application/voicexml+xml", "<?xml", ""}).substr(0, 61),
            "Status: 200 OK\r\nContent-Type: application/voicexml+xml\r\nCache");
}

}  // namespace
}  // namespace vemba
