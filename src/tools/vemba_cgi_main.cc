// vemba_cgi: the request program as a CGI program for stock web servers.
// The deployment comes from VEMBA_CONFIG_DIR; the query carries the message.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "platform/unique_id.h"
#include "tools/cgi_query.h"
#include "tools/cgi_request.h"

namespace {

std::string env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// At most limit bytes of a POST body; a longer one is refused by its size.
// The rest is read and dropped (up to kDrainLimit): some servers (fcgiwrap)
// fail the whole request when the program leaves its input unread.
std::string read_body(size_t limit) {
  constexpr unsigned long long kDrainLimit = 16 << 20;
  std::string length = env("CONTENT_LENGTH");
  char* end = nullptr;
  unsigned long long wanted = std::strtoull(length.c_str(), &end, 10);
  if (length.empty() || *end != '\0') return "";
  std::string body(std::min<unsigned long long>(wanted, limit), '\0');
  body.resize(std::fread(body.data(), 1, body.size(), stdin));
  char drop[4096];
  for (unsigned long long left = std::min(wanted, kDrainLimit) - body.size(); left > 0;) {
    size_t got = std::fread(drop, 1, std::min<unsigned long long>(left, sizeof drop), stdin);
    if (got == 0) break;
    left -= got;
  }
  return body;
}

}  // namespace

int main() {
  vemba::PosixFileSystem fs;
  vemba::SystemClock clock;
  vemba::CgiResponse response;
  try {
    vemba::CgiInput in{env("REQUEST_METHOD"), env("QUERY_STRING"), env("CONTENT_TYPE"), "",
                       env("VEMBA_CONFIG_DIR")};
    if (in.method == "POST") in.body = read_body(vemba::kQueryLimit + 1);
    response = vemba::cgi_respond(in, vemba::unique_id(), fs, clock);
  } catch (const std::exception& e) {
    response = {500, "text/plain; charset=utf-8", "unexpected failure\n",
                std::string("vemba_cgi: ") + e.what() + "\n"};
  }
  // Standard output is the HTTP response; the records go to the server's
  // error log, and only for answers without a page (the day log has the rest).
  if (response.status != 200) std::fputs(response.diagnostics.c_str(), stderr);
  std::string text = vemba::cgi_response_text(response);
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
  return 0;
}
