// The query of a web request to vemba_cgi: a URL query string or a form
// body (application/x-www-form-urlencoded) naming the request's values.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vemba {

/// A query or form body longer than this is refused unread.
constexpr size_t kQueryLimit = 8192;

/// The request values a query may carry; only the message is required.
struct CgiQuery {
  std::string message;
  std::optional<std::string> language_id;
  std::optional<std::string> mode;
  std::optional<std::string> language_system_name;
  std::optional<std::string> script_type;
};

/// Decodes a query ("message=MSGS+3&script_type=HTML"). Unknown, missing or
/// repeated parameters, bad percent escapes, control bytes and text that is
/// not UTF-8 are refused: false, with a one-line reason in *error.
bool parse_cgi_query(std::string_view query, CgiQuery* out, std::string* error);

}  // namespace vemba
