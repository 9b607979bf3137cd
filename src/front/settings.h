// The values of one request: its arguments, the deployment settings read at
// entry, and the paths derived from them.
#pragma once

#include <cstdint>
#include <string>

namespace vemba {

constexpr const char* kDefaultWwwRoot = "C:\\Inetpub\\wwwroot";

struct Settings {
  std::string config_dir;
  std::string base_url;
  std::string wwwroot = kDefaultWwwRoot;
  std::string sounds_dir;  // lpsounds
  std::string pages_dir;   // res_dir
  std::string log_dir;
  int log_level = 2;
  int64_t hold_minutes = 5;
  int64_t hold_log_minutes = 5 * 1440;
  int64_t sweep_interval_seconds = 60;  // 0: every request sweeps
  int channels = 1;
  std::string html_background;
  std::string html_play_button;
};

/// The request values taken from the command line and the derived paths.
struct Request {
  int language_id = 0;
  std::string message;
  int mode = 0;
  std::string language_system_name;
  std::string page_name;
  std::string script_type;
  std::string wav_path;
  std::string page_path;
  std::string language_dir;
};

}  // namespace vemba
