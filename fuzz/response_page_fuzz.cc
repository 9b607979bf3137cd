// Feeds arbitrary settings and arguments that reach the response page
// (document root, sounds directory, image URLs, page name, base URL, script
// type) through the entry's checks to the page writer. Every VoiceXML page
// must be well-formed XML whose sound is one script string; on every HTML
// page each URL stays inside its attribute, as a URL. Both are checked with
// libxml2.
#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "audio/response_page.h"
#include "front/context.h"
#include "front/entry.h"
#include "memory_file_system.h"
#include "platform/clock.h"
#include "platform/console.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

void ignore_message(void*, const char*, ...) {}

std::string attribute(xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  if (value == nullptr) return "";
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

// The elements of a tree named name (case as the parser keeps it).
void find_all(xmlNode* node, std::string_view name, std::vector<xmlNode*>* found) {
  for (; node != nullptr; node = node->next) {
    if (node->type == XML_ELEMENT_NODE && name == reinterpret_cast<const char*>(node->name)) {
      found->push_back(node);
    }
    find_all(node->children, name, found);
  }
}

std::vector<xmlNode*> elements(xmlDoc* doc, std::string_view name) {
  std::vector<xmlNode*> found;
  find_all(xmlDocGetRootElement(doc), name, &found);
  return found;
}

// A URL value as the parser gives it back: printable ASCII.
void check_url_value(const std::string& value) {
  for (char c : value) check(c >= ' ' && c < 0x7F);
}

// No value broke out of its quotes to make attributes of its own.
void check_attribute_count(xmlNode* node, int count) {
  for (xmlAttr* a = node->properties; a != nullptr; a = a->next) --count;
  check(count == 0);
}

void check_voicexml(const std::string& page, bool success, const std::string& url) {
  xmlDoc* doc = xmlReadMemory(page.data(), static_cast<int>(page.size()), "page.vxml", nullptr,
                              XML_PARSE_NONET);
  check(doc != nullptr);
  int sounds = 0;
  for (xmlNode* var : elements(doc, "var")) {
    if (attribute(var, "name") != "__SOUND__") continue;
    ++sounds;
    // One script string holding the URL, or nothing on failure.
    check(attribute(var, "expr") == "'" + (success ? url : std::string()) + "'");
  }
  check(sounds == 1);
  xmlFreeDoc(doc);
}

void check_html(const std::string& page, bool success, const std::string& url) {
  xmlDoc* doc = htmlReadMemory(page.data(), static_cast<int>(page.size()), "page.html", nullptr,
                               HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
  check(doc != nullptr);
  std::vector<xmlNode*> bodies = elements(doc, "body");
  check(bodies.size() == 1);
  check_attribute_count(bodies[0], 4);  // BACKGROUND, FONT, SIZE and TEXT
  check_url_value(attribute(bodies[0], "background"));
  std::vector<xmlNode*> links = elements(doc, "a");
  check(links.size() == (success ? 1u : 0u));
  for (xmlNode* link : links) {
    check_attribute_count(link, 1);
    check(attribute(link, "href") == url);
  }
  std::vector<xmlNode*> images = elements(doc, "img");
  check(images.size() == links.size());
  for (xmlNode* image : images) {
    check_attribute_count(image, 2);
    check_url_value(attribute(image, "src"));
  }
  xmlFreeDoc(doc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    xmlInitParser();
    xmlSetGenericErrorFunc(nullptr, ignore_message);
    return true;
  }();
  (void)quiet;
  if (size == 0) return 0;
  const bool success = data[0] & 1;
  // Fields split at NUL bytes: wwwroot, lpsounds, html_background,
  // html_play_button, page name, base URL, script type.
  std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::vector<std::string> f;
  while (f.size() < 7) {
    size_t end = input.find('\0');
    f.emplace_back(input.substr(0, end));
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
  }

  vemba::MemoryFileSystem fs;
  fs.add_file("/cfg/tts_vemba.cfg",
              "id=1\ncode=en\nlpdat=/p\nrules=r\nlog_dir=/l\nres_dir=/r\nwwwroot=" + f[0] +
                  "\nlpsounds=" + f[1] + "\nhtml_background=" + f[2] +
                  "\nhtml_play_button=" + f[3] + "\n");
  vemba::FixedClock clock(0);
  vemba::StringConsole console;
  vemba::Context ctx(fs, clock, console, "");
  vemba::Request request;
  if (!vemba::tts_entry(ctx, {"/cfg/", "1", "MSGS 3", "0", "en-us", f[4], f[6], f[5]}, &request)) {
    return 0;
  }
  const vemba::Settings& settings = ctx.settings;
  std::string url = vemba::sound_url(settings.base_url, settings.wwwroot, request.wav_path);
  // The URL stands in a script string too: no quotes of either kind.
  check_url_value(url);
  check(url.find_first_of("\"'") == std::string::npos);
  vemba::PageKind kind = vemba::page_kind(request.script_type);
  std::string page =
      vemba::page_text(kind, success, url, {settings.html_background, settings.html_play_button});
  if (kind == vemba::PageKind::kVoiceXml) {
    check_voicexml(page, success, url);
  } else {
    check_html(page, success && kind == vemba::PageKind::kHtml, url);
  }
  return 0;
}
