#include "tools/cgi_request.h"

#include <optional>

#include "audio/response_page.h"
#include "front/entry.h"
#include "front/request_run.h"
#include "platform/text_util.h"
#include "tools/cgi_query.h"

namespace vemba {

namespace {

constexpr const char* kFormType = "application/x-www-form-urlencoded";
constexpr const char* kDefaultLanguageSystemName = "en-us";

CgiResponse plain(int status, const std::string& reason, std::string diagnostics = "") {
  return {status, "text/plain; charset=utf-8", reason + "\n", std::move(diagnostics)};
}

// The media type of a Content-Type value, lower-cased, without parameters.
std::string media_type(std::string_view value) {
  value = value.substr(0, value.find(';'));
  while (!value.empty() && is_space(value.back())) value.remove_suffix(1);
  while (!value.empty() && is_space(value.front())) value.remove_prefix(1);
  std::string type(value);
  for (char& c : type) c = to_lower(c);
  return type;
}

// The message of the last error record on the console, for a reason line.
std::string last_error(const std::string& console) {
  constexpr std::string_view kTag = "[ERR ] ";
  size_t at = console.rfind(kTag);
  if (at == std::string::npos) return "";
  size_t end = console.find('\n', at);
  return console.substr(at + kTag.size(), end == std::string::npos ? end : end - at - kTag.size());
}

const char* reason_phrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 400:
      return "Bad Request";
    default:
      return "Internal Server Error";
  }
}

}  // namespace

CgiResponse cgi_respond(const CgiInput& in, const std::string& page_id, FileSystem& fs,
                        Clock& clock) {
  std::string_view query;
  if (in.method == "GET") {
    query = in.query_string;
  } else if (in.method == "POST") {
    if (media_type(in.content_type) != kFormType) {
      return plain(400, std::string("a POST takes a form body (") + kFormType + ")");
    }
    query = in.body;
  } else {
    return plain(400, "only GET and POST are answered");
  }
  CgiQuery values;
  std::string error;
  if (!parse_cgi_query(query, &values, &error)) return plain(400, error);

  if (in.config_dir.empty()) return plain(500, "VEMBA_CONFIG_DIR is not set");
  if (page_id.empty()) return plain(500, "no fresh page name could be made");
  std::string config_dir = in.config_dir;
  // The entry takes the directory as given; lookups need it to end in one.
  if (config_dir.back() != '/' && config_dir.back() != '\\') config_dir += '/';

  StringConsole console;
  Context ctx(fs, clock, console, config_dir);
  std::optional<std::string> base_url = ctx.config.tts_get_cfg_param("base_url");
  if (!base_url) {
    return plain(500, "tts_vemba.cfg cannot be read or has no base_url", console.text());
  }
  std::string language_id =
      values.language_id ? *values.language_id : ctx.config.tts_get_cfg_param("id").value_or("");

  RequestArgs args{config_dir,
                   language_id,
                   values.message,
                   values.mode.value_or("0"),
                   values.language_system_name.value_or(kDefaultLanguageSystemName),
                   "result" + page_id,
                   values.script_type.value_or("VXML"),
                   *base_url};
  Request request;
  if (!tts_entry(ctx, args, &request)) {
    return plain(400, "refused: " + last_error(console.text()), console.text());
  }
  // Status 1 means a page was written; without one the last error says why.
  CgiResponse page;
  if (tts_run(ctx, request) != 1 ||
      fs.read_file(request.page_path, &page.body) != ReadStatus::kOk) {
    return plain(500, "no page was written: " + last_error(console.text()), console.text());
  }
  page.content_type = page_kind(request.script_type) == PageKind::kVoiceXml
                          ? "application/voicexml+xml"
                          : "text/html; charset=utf-8";
  return page;
}

std::string cgi_response_text(const CgiResponse& response) {
  return string_printf("Status: %d %s\r\n", response.status, reason_phrase(response.status)) +
         "Content-Type: " + response.content_type +
         "\r\n"
         // Every answer is made for its request alone.
         "Cache-Control: no-store\r\n" +
         string_printf("Content-Length: %zu\r\n\r\n", response.body.size()) + response.body;
}

}  // namespace vemba
