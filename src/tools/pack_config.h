// The settings of a language pack as its tts_vemba.cfg gives them, read the
// way the request program reads them.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>

#include "tools/pack_commands.h"

namespace vemba {

struct PackConfig {
  std::string config_file;  // the file's OS path, for messages
  std::string directory;    // the configuration directory, ending in a separator
  std::optional<std::string> id, code, lpdat, rules, contents;

  int language_id() const;
  /// The configuration directory followed by the rules / contents value.
  std::string rules_path() const { return directory + rules.value_or(""); }
  std::string contents_path() const { return directory + contents.value_or(""); }
  /// lpdat + code + "_" + id + "_bin\", where the recordings lie.
  std::string language_dir() const;
};

/// Reads dir's tts_vemba.cfg. False with *error set to "FILE: no such file"
/// or "FILE: no 'KEY' key" when the file or one of the required keys is
/// missing.
bool read_pack_config(PackEnv& env, const std::string& dir,
                      std::initializer_list<const char*> required, PackConfig* config,
                      std::string* error);

}  // namespace vemba
