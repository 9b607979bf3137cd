// vemba_cgi's answer to one web request (RFC 3875): the query's values run
// through the request program's own entry and run, and the response page
// comes back as the body.
#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace vemba {

/// What the web server hands the program.
struct CgiInput {
  std::string method;        // REQUEST_METHOD
  std::string query_string;  // QUERY_STRING
  std::string content_type;  // CONTENT_TYPE of a POST
  std::string body;          // a POST's form body (at most kQueryLimit + 1 bytes read)
  std::string config_dir;    // VEMBA_CONFIG_DIR, the only source of the deployment
};

/// An HTTP answer: the page with 200, or a one-line reason with 400 (the
/// request was refused) or 500 (the deployment is at fault).
struct CgiResponse {
  int status = 200;
  std::string content_type;
  std::string body;
  std::string diagnostics;  // the run's records, for the server's error log
};

/// Answers a request. The page is named "result" + page_id, so every call
/// needs a fresh id.
CgiResponse cgi_respond(const CgiInput& in, const std::string& page_id, FileSystem& fs,
                        Clock& clock);

/// The response as a CGI program writes it on standard output.
std::string cgi_response_text(const CgiResponse& response);

}  // namespace vemba
