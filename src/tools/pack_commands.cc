#include "tools/pack_commands.h"

#include <string_view>

#include "platform/text_util.h"
#include "tools/version.h"

namespace vemba {

namespace {

constexpr const char* kToolUsage =
    "usage: vemba_pack COMMAND [ARGS...]\n"
    "       vemba_pack COMMAND --help\n"
    "       vemba_pack --version\n"
    "\n"
    "Tools for writing language packs.\n"
    "\n"
    "Commands:\n";

bool is_help(std::string_view arg) { return arg == "--help" || arg == "-h"; }

// "-x" and "--x" are options; "-" alone and "-3" are plain arguments.
bool is_option(std::string_view arg) {
  return arg.size() > 1 && arg[0] == '-' && (arg[1] == '-' || is_alpha(arg[1]));
}

// True when arg is one of the blank-separated names in known.
bool is_listed(std::string_view known, std::string_view arg) {
  while (!known.empty()) {
    size_t end = std::min(known.find(' '), known.size());
    if (known.substr(0, end) == arg) return true;
    known.remove_prefix(std::min(end + 1, known.size()));
  }
  return false;
}

void write_tool_usage(Console& to) {
  std::string text = kToolUsage;
  for (const PackCommand& command : pack_commands()) {
    std::string name = command.name;
    name.resize(std::max<size_t>(name.size(), 12), ' ');
    text += "  " + name + "  " + command.summary + "\n";
  }
  to.write(text);
}

}  // namespace

const std::vector<PackCommand>& pack_commands() {
  static const std::vector<PackCommand> commands = {
#define VEMBA_PACK_COMMAND(name) pack_command_##name(),
#include "tools/pack_command_list.h"
#undef VEMBA_PACK_COMMAND
  };
  return commands;
}

int pack_usage_error(PackEnv& env, const PackCommand& command, const std::string& message) {
  env.err.write("vemba_pack " + std::string(command.name) + ": " + message + "\n");
  env.err.write(command.usage);
  return kPackUsageError;
}

int vemba_pack_main(int argc, const char* const* argv, PackEnv& env) {
  if (argc < 2) {
    env.err.write("vemba_pack: no command given\n");
    write_tool_usage(env.err);
    return kPackUsageError;
  }
  std::string_view name = argv[1];
  if (is_help(name) || name == "help") {
    write_tool_usage(env.out);
    return 0;
  }
  if (name == "--version") {
    env.out.write(std::string("vemba_pack ") + kVembaVersion + "\n");
    return 0;
  }
  if (is_option(name)) {
    env.err.write("vemba_pack: unknown option '" + std::string(name) + "'\n");
    write_tool_usage(env.err);
    return kPackUsageError;
  }
  for (const PackCommand& command : pack_commands()) {
    if (name != command.name) continue;
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const std::string& arg : args) {
      if (is_help(arg)) {
        env.out.write(command.usage);
        return 0;
      }
    }
    for (size_t i = 0; i < args.size(); ++i) {
      if (is_listed(command.options, args[i])) {
        ++i;  // its value may look like an option
      } else if (is_option(args[i]) && !is_listed(command.flags, args[i])) {
        return pack_usage_error(env, command, "unknown option '" + args[i] + "'");
      }
    }
    return command.run(env, args);
  }
  env.err.write("vemba_pack: unknown command '" + std::string(name) + "'\n");
  write_tool_usage(env.err);
  return kPackUsageError;
}

}  // namespace vemba
