#include "tools/cgi_query.h"

#include <gtest/gtest.h>

namespace vemba {
namespace {

std::string show(const std::optional<std::string>& value) { return value.value_or("-"); }

TEST(CgiQuery, Accepted) {
  struct Case {
    std::string query;
    std::string message, language_id, mode, language_system_name, script_type;
  } cases[] = {
      {"message=MSGS+3", "MSGS 3", "-", "-", "-", "-"},
      {"message=TIME%2014%3a05&script_type=HTML&mode=1&language_id=01&language_system_name=en-us",
       "TIME 14:05", "01", "1", "en-us", "HTML"},
      {"&script_type=vxml&&message=PLAY%20a.wav&", "PLAY a.wav", "-", "-", "-", "vxml"},
      {"message=", "", "-", "-", "-", "-"},
      {"message", "", "-", "-", "-", "-"},
      {"message=a=b", "a=b", "-", "-", "-", "-"},
      {"%6d%65ssage=x", "x", "-", "-", "-", "-"},
      {"message=%C3%A9t%C3%A9+%E2%82%AC+%F0%9F%93%9E",
       "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x93\x9E", "-", "-", "-", "-"},
      {"message=" + std::string(kQueryLimit - 8, 'x'), std::string(kQueryLimit - 8, 'x'), "-", "-",
       "-", "-"},
  };
  for (const Case& c : cases) {
    CgiQuery q;
    std::string error;
    ASSERT_TRUE(parse_cgi_query(c.query, &q, &error)) << c.query.substr(0, 80) << ": " << error;
    EXPECT_EQ(q.message, c.message) << c.query.substr(0, 80);
    EXPECT_EQ(show(q.language_id), c.language_id) << c.query;
    EXPECT_EQ(show(q.mode), c.mode) << c.query;
    EXPECT_EQ(show(q.language_system_name), c.language_system_name) << c.query;
    EXPECT_EQ(show(q.script_type), c.script_type) << c.query;
  }
}

TEST(CgiQuery, Refused) {
  struct Case {
    std::string query;
    std::string error;
  } cases[] = {
      {"", "missing parameter 'message'"},
      {"mode=1", "missing parameter 'message'"},
      {"message=a&message=b", "parameter 'message' given more than once"},
      {"message=a&mode=0&mode=1", "parameter 'mode' given more than once"},
      {"message=a&page_name=x", "unknown parameter 'page_name'"},
      {"message=a&config_dir=/etc", "unknown parameter 'config_dir'"},
      {"message=a&base_url=http://evil", "unknown parameter 'base_url'"},
      {"message=a&%0d%0aSet-Cookie:x=1", "unknown parameter"},
      {"message=%", "bad percent escape in the query"},
      {"message=%4", "bad percent escape in the query"},
      {"message=%zz", "bad percent escape in the query"},
      {"message=MSGS%00", "control byte in parameter 'message'"},
      {"message=MSGS%0d%0aX", "control byte in parameter 'message'"},
      {"message=a%09b", "control byte in parameter 'message'"},
      {"message=a%7f", "control byte in parameter 'message'"},
      {std::string("message=a\nb"), "control byte in parameter 'message'"},
      {"message=%ff", "parameter 'message' is not UTF-8"},
      {"message=%80", "parameter 'message' is not UTF-8"},
      {"message=%C3", "parameter 'message' is not UTF-8"},
      {"message=%C0%AF", "parameter 'message' is not UTF-8"},        // overlong "/"
      {"message=%E0%80%AF", "parameter 'message' is not UTF-8"},     // overlong "/"
      {"message=%ED%A0%80", "parameter 'message' is not UTF-8"},     // surrogate
      {"message=%F4%90%80%80", "parameter 'message' is not UTF-8"},  // beyond U+10FFFF
      {"script_type=%FE", "parameter 'script_type' is not UTF-8"},
      {"message=" + std::string(100 * 1024, 'x'), "query longer than 8192 bytes"},
  };
  for (const Case& c : cases) {
    CgiQuery q;
    std::string error;
    EXPECT_FALSE(parse_cgi_query(c.query, &q, &error)) << c.query.substr(0, 80);
    EXPECT_EQ(error, c.error) << c.query.substr(0, 80);
  }
}

}  // namespace
}  // namespace vemba
