// vemba_pack: the language pack author's tool. Each command lives in its own
// src/tools/pack_<name>.cc and is registered by one line in
// pack_command_list.h.
#pragma once

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_system.h"

namespace vemba {

/// Exit status for a command line the tool cannot make sense of.
constexpr int kPackUsageError = 2;

/// What a command may touch: files, time, and the two output streams.
struct PackEnv {
  FileSystem& fs;
  Clock& clock;
  Console& out;
  Console& err;
};

/// One command of the tool.
struct PackCommand {
  const char* name;
  const char* summary;  // one line for the tool's command list
  const char* usage;    // the command's full --help text
  /// Runs with the arguments after the command name; returns the exit status.
  int (*run)(PackEnv& env, const std::vector<std::string>& args);
  /// The options it takes, each followed by a value, blank-separated
  /// ("--mode --lang-system"); any other option is refused before run.
  const char* options = "";
  /// The options it takes without a value ("--json").
  const char* flags = "";
};

/// Every registered command, in the order of pack_command_list.h.
const std::vector<PackCommand>& pack_commands();

/// Writes "vemba_pack COMMAND: MESSAGE" and the command's usage to err and
/// returns kPackUsageError.
int pack_usage_error(PackEnv& env, const PackCommand& command, const std::string& message);

/// The whole tool: picks the command named by argv[1] and runs it.
int vemba_pack_main(int argc, const char* const* argv, PackEnv& env);

// Declares the command factories named in the list.
#define VEMBA_PACK_COMMAND(name) PackCommand pack_command_##name();
#include "tools/pack_command_list.h"
#undef VEMBA_PACK_COMMAND

}  // namespace vemba
