// vemba_pack scramble / descramble: convert a whole file between plain text
// and the stored form, line by line.
#include "rules/scramble.h"
#include "tools/pack_commands.h"

namespace vemba {

namespace {

int convert(PackEnv& env, const PackCommand& command, const std::vector<std::string>& args,
            std::string (*transform)(std::string_view)) {
  if (args.size() != 2) return pack_usage_error(env, command, "expected IN and OUT");
  const std::string& in = args[0];
  const std::string& out = args[1];
  std::string text;
  switch (env.fs.read_file(in, &text)) {
    case ReadStatus::kOk:
      break;
    case ReadStatus::kNotFound:
      env.err.write("vemba_pack " + std::string(command.name) + ": " + in + ": no such file\n");
      return 1;
    case ReadStatus::kUnreadable:
      env.err.write("vemba_pack " + std::string(command.name) + ": " + in + ": cannot be read\n");
      return 1;
  }
  if (!env.fs.write_file(out, transform(text))) {
    env.err.write("vemba_pack " + std::string(command.name) + ": " + out + ": cannot be written\n");
    return 1;
  }
  return 0;
}

int run_scramble(PackEnv& env, const std::vector<std::string>& args) {
  return convert(env, pack_command_scramble(), args, scramble_text);
}

int run_descramble(PackEnv& env, const std::vector<std::string>& args) {
  return convert(env, pack_command_descramble(), args, descramble_text);
}

}  // namespace

PackCommand pack_command_scramble() {
  return {"scramble", "turn a plain rules or contents file into its stored form",
          "usage: vemba_pack scramble IN OUT\n"
          "\n"
          "Writes OUT as the stored (scrambled) form of the plain text file IN,\n"
          "line by line; line breaks are kept.\n",
          run_scramble};
}

PackCommand pack_command_descramble() {
  return {"descramble", "turn a stored rules or contents file back into plain text",
          "usage: vemba_pack descramble IN OUT\n"
          "\n"
          "Writes OUT as the plain text of the stored (scrambled) file IN,\n"
          "line by line; line breaks are kept.\n",
          run_descramble};
}

}  // namespace vemba
