#include "tools/pack_config.h"

#include "base/log.h"
#include "front/config_file.h"
#include "front/paths.h"
#include "platform/text_util.h"

namespace vemba {

int PackConfig::language_id() const { return leading_int(id.value_or("")); }

std::string PackConfig::language_dir() const {
  return language_dir_path(lpdat.value_or(""), code.value_or(""), id.value_or(""));
}

bool read_pack_config(PackEnv& env, const std::string& dir,
                      std::initializer_list<const char*> required, PackConfig* config,
                      std::string* error) {
  // The tool says what is wrong in its own words; the lookup's records are
  // not wanted.
  StringConsole quiet;
  Log log(quiet, env.clock);
  ConfigFile file(env.fs, log, dir);
  config->id = file.tts_get_cfg_param("id");
  config->directory = file.directory();
  config->config_file = os_path(config->directory + kConfigFileName);
  if (!env.fs.exists(config->directory + kConfigFileName)) {
    *error = config->config_file + ": no such file";
    return false;
  }
  config->code = file.tts_get_cfg_param("code");
  config->lpdat = file.tts_get_cfg_param("lpdat");
  config->rules = file.tts_get_cfg_param("rules");
  config->contents = file.tts_get_cfg_param("contents");
  const std::pair<const char*, const std::optional<std::string>*> keys[] = {
      {"id", &config->id},
      {"code", &config->code},
      {"lpdat", &config->lpdat},
      {"rules", &config->rules},
      {"contents", &config->contents}};
  for (const char* key : required) {
    for (const auto& [name, value] : keys) {
      if (std::string_view(name) == key && !value->has_value()) {
        *error = config->config_file + ": no '" + key + "' key";
        return false;
      }
    }
  }
  return true;
}

}  // namespace vemba
