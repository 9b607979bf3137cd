#include "audio/response_page.h"

#include "platform/text_util.h"

namespace vemba {

namespace {

constexpr size_t kScriptTypeCompared = 99;

// What a URL path may carry as it is: letters, digits and "-._~/!$()*+,;=:@".
// Left out are what ends the path ("#", "?"), escapes ("%"), and what would
// end the quoted attribute or the script string the URL stands in.
bool is_url_path_char(char c) {
  return is_alpha(c) || is_digit(c) ||
         std::string_view("-._~/!$()*+,;=:@").find(c) != std::string_view::npos;
}

void append_percent(std::string& out, char c) {
  out += string_printf("%%%02X", static_cast<unsigned char>(c));
}

// A URL as the value of a quoted attribute: what XML gives a meaning
// escaped, and control bytes and anything beyond ASCII percent-encoded, so
// the page stays well-formed whatever a setting holds.
std::string attribute_url(std::string_view url) {
  std::string out;
  out.reserve(url.size());
  for (char c : url) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        if (c >= ' ' && c < 0x7F) {
          out += c;
        } else {
          append_percent(out, c);
        }
    }
  }
  return out;
}

std::string html_head(bool success, const std::string& background) {
  std::string head =
      "<html>\n"
      "<HEAD>\n";
  head += success ? "<TITLE>Vemba Solutions Play Page</TITLE>\n"
                  : "<TITLE>Vemba Solutions Failed Page</TITLE>\n";
  head += "</HEAD>\n<BODY BACKGROUND=\"" + attribute_url(background) +
          "\" FONT SIZE=3.5 TEXT=\"#000000\">\n";
  head +=
      "<BR /><BR /><BR /><BR /><BR /><BR />\n"
      "<CENTER>\n"
      "<H3>\n"
      "<font color=\"orange\">\n";
  head += success ? "Sound file was succesfully created. Press button to play.\n"
                  : "Sound file was not created. Return back and check parameters.\n";
  head +=
      "</font>\n"
      "</H3>\n"
      "</CENTER>\n";
  if (success) head += "<BR /><BR /><BR /><BR /><BR /><BR />\n";
  return head;
}

constexpr const char* kLinkOpening =
    "<CENTER>\n"
    "<a href=";
constexpr const char* kPageEnd =
    "</BODY>\n"
    "</html>\n";

constexpr const char* kVxmlSuccessHead =
    "<?xml version=\"1.0\"?>\n"
    "<vxml version=\"2.0\" xmlns=\"http://www.w3.org/2001/vxml\">\n"
    "  <var name=\"__ERR_CODE__\" expr = \"0\" />\n"
    "  <var name=\"__ERR_DETAILS__\" expr = \"''\" />\n";
constexpr const char* kVxmlFailureHead =
    "<?xml version=\"1.0\"?>\n"
    "<vxml version=\"2.0\" xmlns=\"http://www.w3.org/2001/vxml\">\n"
    "  <var name=\"__ERR_CODE__\" expr = \"2\" />\n"
    "  <var name=\"__ERR_DETAILS__\" expr = \"'Wrong Input parameters'\" />\n";
constexpr const char* kSoundOpening = "  <var name=\"__SOUND__\" expr = ";
constexpr const char* kSoundClose = "/>\n";
constexpr const char* kVxmlForm =
    "  <form id=\"VembaSound\">\n"
    "    <catch event=\"error.semantic.ecmascript\">\n"
    "      <var name=\"__ERR_CODE__\" expr = \"6\" />\n"
    "      <var name=\"__ERR_DETAILS__\" expr = \"'Returned VXML execution error'\" />\n"
    "      <return namelist=\"__ERR_CODE__ __ERR_DETAILS__\" />\n"
    "    </catch>\n"
    "    <block>\n"
    "      <return namelist=\"__ERR_CODE__ __ERR_DETAILS__ __SOUND__\" />\n"
    "    </block>\n"
    "  </form>\n"
    "</vxml>\n";

}  // namespace

PageKind page_kind(std::string_view script_type) {
  std::string type(script_type.substr(0, kScriptTypeCompared));
  for (char& c : type) c = to_upper(c);
  if (type == "VXML") return PageKind::kVoiceXml;
  if (type == "HTML") return PageKind::kHtml;
  return PageKind::kWrongType;
}

std::string sound_url(std::string_view base_url, std::string_view wwwroot,
                      std::string_view wav_path) {
  if (!wwwroot.empty() && (wwwroot.back() == '\\' || wwwroot.back() == '/')) {
    wwwroot.remove_suffix(1);
  }
  std::string url(base_url);
  for (char& c : url) {
    if (c == '\\') c = '/';
  }
  // A WAV path shorter than the root has nothing below it. The directories
  // below the root are file names, which may hold what a URL cannot.
  if (wav_path.size() <= wwwroot.size()) return url;
  for (char c : wav_path.substr(wwwroot.size())) {
    if (c == '\\') c = '/';
    if (is_url_path_char(c)) {
      url += c;
    } else {
      append_percent(url, c);
    }
  }
  return url;
}

std::string page_text(PageKind kind, bool success, std::string_view url, const PageImages& images) {
  std::string page;
  switch (kind) {
    case PageKind::kVoiceXml:
      page = success ? kVxmlSuccessHead : kVxmlFailureHead;
      page += kSoundOpening;
      page += "\"'";
      if (success) page += attribute_url(url);
      page += "'\"";
      page += kSoundClose;
      page += kVxmlForm;
      break;
    case PageKind::kHtml:
      if (success) {
        page = html_head(true, images.background);
        page += kLinkOpening;
        page += '"';
        page += attribute_url(url);
        page += '"';
        page += "><img border=\"0\" src=\"" + attribute_url(images.play_button) +
                "\"></a>\n</CENTER>\n";
        page += kPageEnd;
        break;
      }
      [[fallthrough]];
    case PageKind::kWrongType:
      page = html_head(false, images.background);
      page += kPageEnd;
      break;
  }
  page += ' ';
  return page;
}

bool tts_write_page(FileSystem& fs, Log& log, const std::string& page_path,
                    const std::string& script_type, bool success, std::string_view url,
                    const PageImages& images) {
  PageKind kind = page_kind(script_type);
  std::string page = page_text(kind, success, url, images);
  // A page name belongs to one call, whose browser reads the page only after
  // this request ends, so the old page can go first.
  if (!fs.write_file_atomic(page_path, page, Replace::kOldFirst)) {
    tts_log(log, TTS_LL_ERR, "Unable to open [%s] file ...\n", page_path.c_str());
    fs.delete_file(page_path);
    return false;
  }
  if (kind == PageKind::kWrongType) {
    tts_log(log, TTS_LL_ERR, "Wrong type of script [%s] ...\n", script_type.c_str());
  }
  return true;
}

}  // namespace vemba
