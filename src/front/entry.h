// The process entry: argument echo, argument and setting checks, and the
// paths derived from them.
#pragma once

#include <string>

#include "front/context.h"
#include "front/settings.h"

namespace vemba {

constexpr size_t kPathCapacity = 2560;
constexpr size_t kMessageLimit = 500;
constexpr size_t kLanguageSystemNameLimit = 100;
constexpr size_t kPageNameMin = 6;
constexpr size_t kScriptTypeLimit = 511;

/// True when a page name may name a file under the pages and sounds
/// directories and stand inside a quoted attribute and a URL: printable
/// ASCII without blanks, separators, quotes, "<", ">", "&", "#", "?" or "%";
/// short enough for the page, its sound and their temporary files; and none
/// of the schedule, its lock, the sweep stamp, a log or a temporary file.
bool is_safe_page_name(std::string_view name);

/// True when a base URL can stand inside the quoted attributes of a page
/// unescaped: printable ASCII without quotes, angle brackets or ampersands.
bool is_safe_base_url(std::string_view url);

/// The eight request arguments as texts, from a command line or a web query.
struct RequestArgs {
  std::string config_dir;
  std::string language_id;
  std::string message;
  std::string mode;
  std::string language_system_name;
  std::string page_name;
  std::string script_type;
  std::string base_url;
};

/// Checks the arguments and reads the settings into ctx. True when the
/// request may run; false (logged) when it is refused before a page.
bool tts_entry(Context& ctx, const RequestArgs& args, Request* request);

/// The command line's entry: echoes argv, refuses any count but eight
/// arguments, then checks them as above.
bool tts_entry(Context& ctx, int argc, const char* const* argv, Request* request);

/// The whole request program; returns the process exit status.
int vemba_tts_main(int argc, const char* const* argv, FileSystem& fs, Clock& clock,
                   Console& console);

}  // namespace vemba
