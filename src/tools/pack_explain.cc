#include "tools/pack_explain.h"

#include <optional>

#include "audio/prompt_audio.h"
#include "base/log.h"
#include "front/config_file.h"
#include "platform/text_util.h"
#include "rules/rules_loader.h"
#include "tools/pack_commands.h"
#include "tools/pack_config.h"
#include "tools/pack_missing.h"
#include "translate/translator.h"

namespace vemba {

std::string var_type_name(int32_t type) {
  switch (type) {
    case VAR_UNDEFINED:
      return "VAR_UNDEFINED";
    case VAR_INTEGER:
      return "VAR_INTEGER";
    case VAR_DIGITS:
      return "VAR_DIGITS";
    case VAR_WORD:
      return "VAR_WORD";
    case VAR_DATE:
      return "VAR_DATE";
    case VAR_TIME:
      return "VAR_TIME";
    case VAR_WAV:
      return "VAR_WAV";
    case VAR_ANNOUNCE:
      return "VAR_ANNOUNCE";
    case VAR_SPELL:
      return "VAR_SPELL";
    case VAR_FLOAT:
      return "VAR_FLOAT";
    case VAR_MONEY:
      return "VAR_MONEY";
    case VAR_NUMBER_EN:
      return "VAR_NUMBER_EN";
    case VAR_NUMERAL_EN:
      return "VAR_NUMERAL_EN";
    default:
      return string_printf("kind %d", type);
  }
}

namespace {

struct ExplainArgs {
  std::string config_dir;
  std::string message;
  int mode = 0;
  std::string language_system_name = "en-us";
};

bool is_integer_text(const std::string& text) {
  size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  if (i == text.size()) return false;
  for (; i < text.size(); ++i) {
    if (!is_digit(text[i])) return false;
  }
  return true;
}

// Empty on success, otherwise what is wrong with the command line.
std::string parse_args(const std::vector<std::string>& args, ExplainArgs& parsed) {
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--mode" || arg == "--lang-system") {
      if (i + 1 == args.size()) return arg + " needs a value";
      const std::string& value = args[++i];
      if (arg == "--lang-system") {
        parsed.language_system_name = value;
      } else if (is_integer_text(value)) {
        parsed.mode = leading_int(value);
      } else {
        return "--mode takes an integer, not '" + value + "'";
      }
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 2) return "expected CONFIG_DIR and MESSAGE";
  parsed.config_dir = positional[0];
  parsed.message = positional[1];
  return "";
}

// The records of a log, one a line, without their time stamps of the given
// width.
std::vector<std::string> records_of(const std::string& text, size_t stamp) {
  std::vector<std::string> records;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    records.push_back(line.size() > stamp ? line.substr(stamp) : line);
    pos = end + 1;
  }
  return records;
}

int run_explain(PackEnv& env, const std::vector<std::string>& args) {
  const PackCommand command = pack_command_explain();
  ExplainArgs a;
  std::string problem = parse_args(args, a);
  if (!problem.empty()) return pack_usage_error(env, command, problem);
  auto fail = [&env](const std::string& message) {
    env.err.write("vemba_pack explain: " + message + "\n");
    return 1;
  };

  // Loader messages go to the error stream, errors only; the configuration
  // problems are said below in the tool's own words.
  Log log(env.err, env.clock);
  PackConfig config;
  std::string error;
  bool read =
      a.mode == 1
          ? read_pack_config(env, a.config_dir, {"id", "code", "lpdat", "rules", "contents"},
                             &config, &error)
          : read_pack_config(env, a.config_dir, {"id", "code", "lpdat", "rules"}, &config, &error);
  if (!read) return fail(error);
  const std::string rules_path = config.rules_path();
  const std::string contents_path = config.contents_path();
  const std::string language_dir = config.language_dir();
  const int language_id = config.language_id();

  LanguageTable table;
  if (!load_rules(env.fs, log, table, rules_path, contents_path, language_id, a.mode)) {
    return fail("the rules file " + os_path(rules_path) + " did not load");
  }

  // The translation's own messages are part of the explanation.
  StringConsole records;
  Log translate_log(records, env.clock);
  translate_log.set_level(TTS_LL_VERB);
  const int64_t now = env.clock.now();
  Translator translator(translate_log, table, env.clock, now, a.message, language_id, a.mode,
                        a.language_system_name);
  PromptList prompts = translator.translate();

  std::string text = "message: " + translator.message + "\n";
  text += string_printf("mode: %d\n", a.mode);
  for (size_t i = 0; i < translator.quoted_texts.size(); ++i) {
    text += string_printf("quoted: <<%zu>> = [%s]\n", i, translator.quoted_texts[i].c_str());
  }
  // Records are stamped when made; the stamp's width depends only on how
  // many digits the year has.
  const size_t stamp = log_stamp(env.clock.local_time(now)).size();
  for (const std::string& record : records_of(records.text(), stamp)) {
    text += "log: " + record + "\n";
  }
  const std::vector<Rule>& rules = table.get_rules(language_id);
  if (!prompts.empty() || !translator.values.empty()) {
    const int32_t index = translator.rule_index;
    if (index >= 0 && static_cast<size_t>(index) < rules.size()) {
      text += string_printf("rule: %s (position %d)\n", rules[index].name.c_str(), index);
    }
  }
  text += string_printf("values: %zu\n", translator.values.size());
  for (size_t i = 0; i < translator.values.size(); ++i) {
    const VarValue& v = translator.values[i];
    text += string_printf("  #%zu [%s] %s option %d\n", i + 1, v.text.c_str(),
                          var_type_name(v.type).c_str(), v.option);
  }
  if (prompts.empty()) {
    text += "prompts: none, the translation failed\n";
    env.out.write(text);
    return 1;
  }

  // Entries are recordings except in text mode, where they are texts.
  const bool check = a.mode != 1 && env.fs.exists(language_dir);
  size_t missing = 0;
  text += string_printf("prompts: %zu\n", prompts.size());
  for (const std::string& entry : prompts) {
    text += entry.empty() ? "  (empty entry)" : "  " + entry;
    if (check && !has_recording(env.fs, env.err, prepare_prompt_name(entry), language_dir)) {
      text += "  [missing]";
      ++missing;
    }
    text += "\n";
  }
  if (check) {
    text +=
        string_printf("missing recordings: %zu in %s\n", missing, os_path(language_dir).c_str());
  } else if (a.mode != 1) {
    text += "recordings not checked: no directory " + os_path(language_dir) + "\n";
  }
  env.out.write(text);
  return missing == 0 ? 0 : 1;
}

}  // namespace

PackCommand pack_command_explain() {
  return {"explain", "show how one message is translated: rule, values, prompt entries",
          "usage: vemba_pack explain CONFIG_DIR MESSAGE [--mode N] [--lang-system NAME]\n"
          "\n"
          "Loads the pack named by CONFIG_DIR/tts_vemba.cfg as a request would (with\n"
          "the contents file in mode 1), translates MESSAGE and prints the messages\n"
          "of the translation, the selected rule, the matched values with their\n"
          "kinds and the prompt entries, one a line. When the language directory\n"
          "(LPDAT + CODE_ID_bin) exists, entries without a recording are marked\n"
          "[missing] (not in mode 1, whose entries are texts).\n"
          "--mode N is the request mode (default 0); --lang-system NAME the language\n"
          "system name (default en-us).\n"
          "Exits with 0 when the translation gives entries and none is missing,\n"
          "1 otherwise.\n",
          run_explain, "--mode --lang-system"};
}

}  // namespace vemba
