#include "audio/response_page.h"

#include <gtest/gtest.h>

#include "expected_pages.h"
#include "memory_file_system.h"

namespace vemba {
namespace {

const char kHtmlSuccess[] =
    "<html>\n"
    "<HEAD>\n"
    "<TITLE>Vemba Solutions Play Page</TITLE>\n"
    "</HEAD>\n"
    "<BODY BACKGROUND=\"http://img/bg.gif\" FONT SIZE=3.5 TEXT=\"#000000\">\n"
    "<BR /><BR /><BR /><BR /><BR /><BR />\n"
    "<CENTER>\n"
    "<H3>\n"
    "<font color=\"orange\">\n"
    "Sound file was succesfully created. Press button to play.\n"
    "</font>\n"
    "</H3>\n"
    "</CENTER>\n"
    "<BR /><BR /><BR /><BR /><BR /><BR />\n"
    "<CENTER>\n"
    "<a href=\"http://h/tts/sound42.wav\"><img border=\"0\" src=\"http://img/play.gif\"></a>\n"
    "</CENTER>\n"
    "</BODY>\n"
    "</html>\n"
    " ";

const char kHtmlFailure[] =
    "<html>\n"
    "<HEAD>\n"
    "<TITLE>Vemba Solutions Failed Page</TITLE>\n"
    "</HEAD>\n"
    "<BODY BACKGROUND=\"http://img/bg.gif\" FONT SIZE=3.5 TEXT=\"#000000\">\n"
    "<BR /><BR /><BR /><BR /><BR /><BR />\n"
    "<CENTER>\n"
    "<H3>\n"
    "<font color=\"orange\">\n"
    "Sound file was not created. Return back and check parameters.\n"
    "</font>\n"
    "</H3>\n"
    "</CENTER>\n"
    "</BODY>\n"
    "</html>\n"
    " ";

const std::string kVxmlSuccess = test::vxml_page("http://h/tts/sound42.wav", true);
const std::string kVxmlFailure = test::vxml_page("", false);

TEST(ResponsePage, Kind) {
  struct Case {
    std::string type;
    PageKind kind;
  } cases[] = {
      {"VXML", PageKind::kVoiceXml},
      {"vxml", PageKind::kVoiceXml},
      {"Vxml", PageKind::kVoiceXml},
      {"html", PageKind::kHtml},
      {"HtMl", PageKind::kHtml},
      {"xml", PageKind::kWrongType},
      {"VXML ", PageKind::kWrongType},
      {"", PageKind::kWrongType},
      {"VXML" + std::string(95, 'x'), PageKind::kWrongType},
  };
  for (const Case& c : cases) EXPECT_EQ(page_kind(c.type), c.kind) << c.type;
}

TEST(ResponsePage, SoundUrl) {
  struct Case {
    const char* base;
    const char* root;
    const char* wav;
    const char* url;
  } cases[] = {
      {"http://h", "C:\\Inetpub\\wwwroot", "C:\\Inetpub\\wwwroot\\tts\\sound42.wav",
       "http://h/tts/sound42.wav"},
      {"http://h", "C:\\Inetpub\\wwwroot\\", "C:\\Inetpub\\wwwroot\\tts\\sound42.wav",
       "http://h/tts/sound42.wav"},
      {"http://h", "/srv/www/", "/srv/www/tts/sound42.wav", "http://h/tts/sound42.wav"},
      {"http:\\\\h\\x", "C:\\r", "C:\\r\\sound1.wav", "http://h/x/sound1.wav"},
      {"B", "C:\\much\\longer\\root", "C:\\a.wav", "B"},
      {"B", "", "C:\\a.wav", "BC:/a.wav"},
      // Directories hold file names, not URL text.
      {"http://h", "/w", "/w/my tts/a#b?c%d'e\"f&g<h>\\\xc3\xa9\x01/sound42.wav",
       "http://h/my%20tts/a%23b%3Fc%25d%27e%22f%26g%3Ch%3E/%C3%A9%01/sound42.wav"},
  };
  for (const Case& c : cases) EXPECT_EQ(sound_url(c.base, c.root, c.wav), c.url) << c.wav;
}

TEST(ResponsePage, EveryVariantByteForByte) {
  PageImages images{"http://img/bg.gif", "http://img/play.gif"};
  const char* url = "http://h/tts/sound42.wav";
  struct Case {
    PageKind kind;
    bool success;
    std::string page;
  } cases[] = {
      {PageKind::kHtml, true, kHtmlSuccess},      {PageKind::kHtml, false, kHtmlFailure},
      {PageKind::kWrongType, true, kHtmlFailure}, {PageKind::kWrongType, false, kHtmlFailure},
      {PageKind::kVoiceXml, true, kVxmlSuccess},  {PageKind::kVoiceXml, false, kVxmlFailure},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(page_text(c.kind, c.success, url, images), c.page)
        << static_cast<int>(c.kind) << c.success;
  }
  // Configured image URLs stay inside their attributes, whatever they hold.
  std::string odd =
      page_text(PageKind::kHtml, true, url, {"http://i/a b\"x='1'&<\xff>", "p\x01\x7f"});
  EXPECT_NE(odd.find("<BODY BACKGROUND=\"http://i/a b&quot;x=&#39;1&#39;&amp;&lt;%FF&gt;\" FONT"),
            std::string::npos)
      << odd;
  EXPECT_NE(odd.find("src=\"p%01%7F\"></a>"), std::string::npos) << odd;
  // Without configured images the quotes stay empty.
  std::string bare = page_text(PageKind::kHtml, true, url, {});
  EXPECT_NE(bare.find("<BODY BACKGROUND=\"\" FONT"), std::string::npos);
  EXPECT_NE(bare.find("src=\"\"></a>"), std::string::npos);
}

struct PageFixture : ::testing::Test {
  PageFixture() : clock(utc_seconds(2026, 12, 6, 9, 5, 3)), log(console, clock) {
    log.set_level(TTS_LL_VERB);
    fs.add_dir("/pages");
  }
  MemoryFileSystem fs;
  FixedClock clock;
  StringConsole console;
  Log log;
  std::string url =
      sound_url("http://h", "C:\\Inetpub\\wwwroot\\", "C:\\Inetpub\\wwwroot\\tts\\sound42.wav");
  PageImages images{"http://img/bg.gif", "http://img/play.gif"};
};

TEST_F(PageFixture, WritesTheSelectedVariant) {
  struct Case {
    std::string type;
    bool success;
    std::string page;
    std::string log;
  } cases[] = {
      {"vxml", true, kVxmlSuccess, ""},
      {"VXML", false, kVxmlFailure, ""},
      {"Html", true, kHtmlSuccess, ""},
      {"xml", true, kHtmlFailure, "2026/12/06 09:05:03 [ERR ] Wrong type of script [xml] ...\n"},
  };
  for (const Case& c : cases) {
    console.clear();
    tts_write_page(fs, log, "\\pages\\result42", c.type, c.success, url, images);
    EXPECT_EQ(fs.contents("/pages/result42"), c.page) << c.type;
    EXPECT_EQ(console.text(), c.log) << c.type;
  }
}

TEST_F(PageFixture, UnwritablePageIsLogged) {
  std::string page = "\\pages\\missing\\result42";
  EXPECT_FALSE(tts_write_page(fs, log, page, "xml", true, url, images));
  EXPECT_EQ(console.text(), "2026/12/06 09:05:03 [ERR ] Unable to open [" + page + "] file ...\n");
}

}  // namespace
}  // namespace vemba
