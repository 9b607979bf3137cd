// vemba_pack missing CONFIG_DIR: the prompt names a deployment's language
// pack can ask for that have no recording in its language directory.
#pragma once

#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/file_system.h"
#include "rules/rule_model.h"
#include "tools/pack_commands.h"
#include "tools/pack_config.h"

namespace vemba {

/// The recording names a rule list asks for: every fixed prompt and plural
/// alternative, prepared as the prompt loader prepares them (".wav" cut off),
/// each once, in rule order.
std::vector<std::string> rule_prompt_names(const std::vector<Rule>& rules);

/// Reads the pack configuration in config_dir and gives every prompt name its
/// rules' literals and the English builders can ask for, each once, the
/// rules' first. False with *error when the configuration or the rules do not
/// load (loader messages go to env.err).
bool pack_prompt_names(PackEnv& env, const std::string& config_dir, PackConfig* config,
                       std::vector<std::string>* names, std::string* error);

/// True when the prompt loader would find a recording for the prepared name
/// in language_dir: its stored form (rotated name + ".dat") or its plain form
/// (name + ".raw") opens for reading.
bool has_recording(FileSystem& fs, Console& console, const std::string& name,
                   const std::string& language_dir);

/// The names, in their order, for which has_recording is false.
std::vector<std::string> missing_recordings(FileSystem& fs, Console& console,
                                            const std::vector<std::string>& names,
                                            const std::string& language_dir);

}  // namespace vemba
