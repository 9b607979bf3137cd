#include "tools/pack_missing.h"

#include <optional>
#include <set>

#include "audio/prompt_audio.h"
#include "base/log.h"
#include "front/config_file.h"
#include "lang_en/prompt_inventory.h"
#include "platform/text_util.h"
#include "rules/rules_loader.h"

namespace vemba {

std::vector<std::string> rule_prompt_names(const std::vector<Rule>& rules) {
  std::vector<std::string> names;
  std::set<std::string> seen;
  for (const Rule& rule : rules) {
    for (const RuleItem& item : rule.items) {
      if (!item.text.empty() && item.text[0] == '#') continue;  // a variable reference
      std::string name = prepare_prompt_name(item.text);
      if (seen.insert(name).second) names.push_back(name);
    }
  }
  return names;
}

bool has_recording(FileSystem& fs, Console& console, const std::string& name,
                   const std::string& language_dir) {
  // Names the loader refuses to open never play, whatever lies on disk.
  if (!is_safe_prompt_name(name)) return false;
  std::string unused;
  std::optional<std::string> stored = prompt_data_name(console, name);
  if (stored && fs.read_file(language_dir + *stored + ".dat", &unused, 0) == ReadStatus::kOk) {
    return true;
  }
  return fs.read_file(language_dir + name + ".raw", &unused, 0) == ReadStatus::kOk;
}

std::vector<std::string> missing_recordings(FileSystem& fs, Console& console,
                                            const std::vector<std::string>& names,
                                            const std::string& language_dir) {
  std::vector<std::string> missing;
  for (const std::string& name : names) {
    if (!has_recording(fs, console, name, language_dir)) missing.push_back(name);
  }
  return missing;
}

bool pack_prompt_names(PackEnv& env, const std::string& config_dir, PackConfig* config,
                       std::vector<std::string>* names, std::string* error) {
  if (!read_pack_config(env, config_dir, {"id", "code", "lpdat", "rules"}, config, error)) {
    return false;
  }
  // Loader messages go to the error stream, errors only.
  Log log(env.err, env.clock);
  LanguageTable table;
  const int language_id = config->language_id();
  if (!load_rules(env.fs, log, table, config->rules_path(), "", language_id, 0)) {
    *error = "the rules file " + config->rules_path() + " did not load";
    return false;
  }
  *names = rule_prompt_names(table.get_rules(language_id));
  std::set<std::string> listed(names->begin(), names->end());
  for (std::string& name : en_prompt_inventory()) {
    if (listed.insert(name).second) names->push_back(std::move(name));
  }
  return true;
}

namespace {

int run_missing(PackEnv& env, const std::vector<std::string>& args) {
  const PackCommand command = pack_command_missing();
  if (args.size() != 1) return pack_usage_error(env, command, "expected CONFIG_DIR");
  PackConfig config;
  std::vector<std::string> names;
  std::string error;
  if (!pack_prompt_names(env, args[0], &config, &names, &error)) {
    env.err.write("vemba_pack missing: " + error + "\n");
    return 1;
  }
  const std::string language_dir = config.language_dir();
  std::vector<std::string> missing = missing_recordings(env.fs, env.err, names, language_dir);
  for (const std::string& name : missing) env.out.write(name + "\n");
  env.err.write(
      string_printf("vemba_pack missing: %zu of %zu prompt names have no recording in %s\n",
                    missing.size(), names.size(), os_path(language_dir).c_str()));
  return missing.empty() ? 0 : 1;
}

}  // namespace

PackCommand pack_command_missing() {
  return {"missing", "list prompt names that have no recording in the language directory",
          "usage: vemba_pack missing CONFIG_DIR\n"
          "\n"
          "Reads CONFIG_DIR/tts_vemba.cfg and the rules file it names, and writes,\n"
          "one per line, every prompt name that the rules' literals and the English\n"
          "phrase builders can ask for and that has no recording in the language\n"
          "directory (LPDAT + CODE_ID_bin), neither NAME.raw nor the stored form.\n"
          "Exits with 1 when any is missing, 0 when none is.\n",
          run_missing};
}

}  // namespace vemba
