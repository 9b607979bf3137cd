// The deployment settings file tts_vemba.cfg: key=value lines, read once into
// a cache of at most 100 lines on the first lookup.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/log.h"
#include "platform/file_system.h"

namespace vemba {

constexpr const char* kConfigFileName = "tts_vemba.cfg";
constexpr size_t kConfigMaxLines = 100;
constexpr size_t kConfigReadPiece = 1023;

/// Splits file text into cache entries the way a 1024-byte line reader sees
/// it: each piece ends after a line feed or after 1023 characters. At most
/// kConfigMaxLines pieces are kept; *too_long tells whether more followed.
std::vector<std::string> split_config_lines(std::string_view text, bool* too_long);

/// The value of key in cached lines, or nothing: the first line whose text
/// before its first "=" equals the key, with trailing white space removed.
std::optional<std::string> find_config_value(const std::vector<std::string>& lines,
                                             std::string_view key);

class ConfigFile {
 public:
  ConfigFile(FileSystem& fs, Log& log, std::string directory)
      : fs_(fs), log_(log), directory_(std::move(directory)) {}

  /// Looks a key up, opening and caching the file on first use. A failed open
  /// is logged and retried by the next lookup.
  std::optional<std::string> tts_get_cfg_param(const char* key);

  /// The configuration directory; ends in a separator after the first lookup.
  const std::string& directory() const { return directory_; }
  void set_directory(std::string directory) { directory_ = std::move(directory); }

  /// Drops the cached lines; the next lookup reads the file again.
  void close();

 private:
  FileSystem& fs_;
  Log& log_;
  std::string directory_;
  bool open_ = false;
  std::vector<std::string> lines_;
};

}  // namespace vemba
