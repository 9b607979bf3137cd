// vemba_pack check CONFIG_DIR: loads a pack with the request's own loader and
// lists every line it refused, then what it loaded.
#include <optional>

#include "base/log.h"
#include "front/config_file.h"
#include "platform/text_util.h"
#include "rules/rules_loader.h"
#include "tools/pack_commands.h"
#include "tools/pack_config.h"

namespace vemba {

namespace {

// Prints each loader message as "FILE:LINE: MESSAGE" (or "FILE: MESSAGE").
class MessagePrinter : public LoadObserver {
 public:
  explicit MessagePrinter(Console& out) : out_(out) {}
  void on_message(const std::string& path, int line, int, const std::string& message) override {
    std::string text = message;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    std::string place = os_path(path);
    if (line > 0) place += ":" + std::to_string(line);
    out_.write(place + ": " + text + "\n");
    ++count_;
  }
  int count() const { return count_; }

 private:
  Console& out_;
  int count_ = 0;
};

int run_check(PackEnv& env, const std::vector<std::string>& args) {
  const PackCommand command = pack_command_check();
  if (args.size() != 1) return pack_usage_error(env, command, "expected CONFIG_DIR");
  PackConfig config;
  std::string error;
  if (!read_pack_config(env, args[0], {"rules", "id"}, &config, &error)) {
    env.err.write("vemba_pack check: " + error + "\n");
    return 1;
  }
  const int language_id = config.language_id();
  const int mode = config.contents.has_value() ? 1 : 0;
  const std::string rules_path = config.rules_path();
  const std::string contents_path = config.contents_path();

  env.out.write("rules: " + os_path(rules_path) + "\n");
  if (mode == 1) env.out.write("contents: " + os_path(contents_path) + "\n");
  env.out.write(string_printf("language id: %d\n", language_id));

  StringConsole quiet;
  Log load_log(quiet, env.clock);
  LanguageTable table;
  MessagePrinter printer(env.out);
  int loaded =
      load_rules(env.fs, load_log, table, rules_path, contents_path, language_id, mode, &printer);

  const std::vector<Rule>& list = table.get_rules(language_id);
  std::string summary = string_printf("sections: %zu\n", table.records().size());
  summary += string_printf("rules in final order: %zu\n", list.size());
  for (size_t i = 0; i < list.size(); ++i) {
    summary += string_printf("  %zu %s\n", i, list[i].name.c_str());
  }
  if (table.default_rule_index >= 0) {
    summary += string_printf("DEFAULT position: %d\n", table.default_rule_index);
  } else {
    summary += "DEFAULT position: none\n";
  }
  if (mode == 1) {
    summary += string_printf("contents entries: %zu\n", table.get_contents(language_id).size());
  } else {
    summary += "contents entries: not loaded (no 'contents' key)\n";
  }
  env.out.write(summary);

  if (!loaded) {
    env.out.write("result: the load failed\n");
    return 1;
  }
  if (table.records().empty()) {
    env.out.write("result: no section was stored (the language id must be above 0)\n");
    return 1;
  }
  if (printer.count() > 0) {
    env.out.write(
        string_printf("result: %d message(s) about refused or ignored lines\n", printer.count()));
    return 1;
  }
  env.out.write("result: ok\n");
  return 0;
}

}  // namespace

PackCommand pack_command_check() {
  return {"check", "load a pack as a request would and report every refused line",
          "usage: vemba_pack check CONFIG_DIR\n"
          "\n"
          "Reads CONFIG_DIR/tts_vemba.cfg for 'rules', 'contents' and 'id', loads the\n"
          "rules file (and the contents file when 'contents' is set) with the request's\n"
          "loader, and prints every message about a line as FILE:LINE: MESSAGE, then a\n"
          "summary: sections, rules in their final order, the DEFAULT position and the\n"
          "number of contents entries. Exits with 1 when a line was refused or ignored,\n"
          "or the load failed; with 0 otherwise.\n",
          run_check};
}

}  // namespace vemba
