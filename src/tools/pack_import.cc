// vemba_pack import [--level DBM0] [--no-level] [--raw] SOURCE... CONFIG_DIR:
// an author's recordings, in any common format, made into prompt files.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>

#include "audio/prompt_audio.h"
#include "audio/prompt_encode.h"
#include "audio/prompt_measure.h"
#include "platform/text_util.h"
#include "tools/pack_commands.h"
#include "tools/pack_missing.h"
#include "tools/pack_recording.h"

namespace vemba {

namespace {

struct ImportArgs {
  std::vector<std::string> sources;
  std::string config_dir;
  std::optional<double> level = kDefaultLevelDbm0;
  bool raw = false;
};

// Empty on success, otherwise what is wrong with the command line.
std::string parse_args(const std::vector<std::string>& args, ImportArgs& parsed) {
  bool level_given = false, no_level = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--level") {
      if (i + 1 == args.size()) return "--level needs a value";
      const std::string& value = args[++i];
      char* end = nullptr;
      errno = 0;
      double level = std::strtod(value.c_str(), &end);
      if (value.empty() || *end != '\0' || errno != 0 || !(level >= -60 && level <= 0)) {
        return "--level takes a level in dBm0 from -60 to 0, not '" + value + "'";
      }
      parsed.level = level;
      level_given = true;
    } else if (arg == "--no-level") {
      no_level = true;
    } else if (arg == "--raw") {
      parsed.raw = true;
    } else {
      parsed.sources.push_back(arg);
    }
  }
  if (level_given && no_level) return "--level and --no-level exclude each other";
  if (no_level) parsed.level.reset();
  if (parsed.sources.size() < 2) return "expected SOURCE... and CONFIG_DIR";
  parsed.config_dir = parsed.sources.back();
  parsed.sources.pop_back();
  return "";
}

// "dir/you_have.wav" gives "you_have".
std::string prompt_name_of(const std::string& source) {
  std::string name = source.substr(source.rfind('/') + 1);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

class Importer {
 public:
  Importer(PackEnv& env, const ImportArgs& args, const std::string& language_dir,
           const std::vector<std::string>& names)
      : env_(env), args_(args), dir_(language_dir), known_(names.begin(), names.end()) {}

  // Imports one source; false (with a message) when the pack is left as it was.
  bool import(const std::string& source) {
    const std::string name = prompt_name_of(source);
    if (name.empty()) return fail(source, "no file name to take the prompt name from");
    if (name.find('\\') != std::string::npos || !is_safe_prompt_name(name)) {
      return fail(source, "'" + name + "' would name a file outside the language directory");
    }
    if (!args_.raw && name.size() >= kPromptNameLimit) {
      return fail(source, string_printf("'%s' has %zu characters; names of %zu or more have no "
                                        "stored form, import it with --raw",
                                        name.c_str(), name.size(), kPromptNameLimit));
    }
    std::vector<float> samples;
    std::string error;
    if (!read_recording(env_.fs, source, &samples, &error)) return fail(source, error);
    std::optional<EncodedPrompt> prompt = encode_prompt(samples, args_.level);
    if (!prompt) {
      return fail(source, string_printf("silent: nothing above %.0f dBFS in the telephone band",
                                        kSilenceDbfs));
    }
    if (prompt->peak_limited) {
      warn(source, string_printf("at %.1f dBm0 a peak would pass %.0f dBFS; set to %.1f dBm0",
                                 *args_.level, kPeakCeilingDbfs, prompt->level_dbm0));
    }
    if (!known_.count(name)) {
      warn(source, "'" + name + "' is a name the rules and builders never ask for; imported");
    }
    auto [earlier, first_time] = imported_.emplace(name, source);
    if (!first_time) warn(source, "replaces the prompt '" + name + "' of " + earlier->second);

    StringConsole quiet;  // a long name's stored form is not wanted with --raw
    std::optional<std::string> stored = prompt_data_name(quiet, name);
    if (stored) *stored = dir_ + *stored + ".dat";
    const std::string file = args_.raw ? dir_ + name + ".raw" : *stored;
    if (args_.raw && stored && env_.fs.exists(*stored)) {
      warn(source, os_path(*stored) + " exists and the request program plays it instead");
    }
    if (!env_.fs.write_file_atomic(file, prompt->bytes)) {
      return fail(source, os_path(file) + " cannot be written (is the directory writable?); '" +
                              name + "' is as it was");
    }
    env_.out.write(
        string_printf("%s <- %s: %s, %.2f s, %.1f dBm0 (recorded at %.1f), peak %.1f "
                      "dBFS\n",
                      os_path(file).c_str(), source.c_str(), name.c_str(),
                      (prompt->bytes.size() - kPromptTrim) / double(kPromptRate),
                      prompt->level_dbm0, prompt->source_level_dbm0, prompt->peak_dbfs));
    return true;
  }

 private:
  bool fail(const std::string& source, const std::string& message) {
    env_.err.write("vemba_pack import: " + source + ": " + message + "\n");
    return false;
  }
  void warn(const std::string& source, const std::string& message) {
    env_.err.write("vemba_pack import: " + source + ": warning: " + message + "\n");
  }

  PackEnv& env_;
  const ImportArgs& args_;
  const std::string dir_;
  const std::set<std::string> known_;
  std::map<std::string, std::string> imported_;
};

int run_import(PackEnv& env, const std::vector<std::string>& args) {
  const PackCommand command = pack_command_import();
  ImportArgs a;
  std::string problem = parse_args(args, a);
  if (!problem.empty()) return pack_usage_error(env, command, problem);
  PackConfig config;
  std::vector<std::string> names;
  std::string error;
  if (!pack_prompt_names(env, a.config_dir, &config, &names, &error)) {
    env.err.write("vemba_pack import: " + error + "\n");
    return 1;
  }
  const std::string language_dir = config.language_dir();
  if (!env.fs.exists(language_dir)) {
    env.err.write("vemba_pack import: " + os_path(language_dir) + ": no such directory\n");
    return 1;
  }
  Importer importer(env, a, language_dir, names);
  size_t imported = 0;
  for (const std::string& source : a.sources) imported += importer.import(source);
  env.err.write(string_printf("vemba_pack import: %zu of %zu recordings imported into %s\n",
                              imported, a.sources.size(), os_path(language_dir).c_str()));
  return imported == a.sources.size() ? 0 : 1;
}

}  // namespace

PackCommand pack_command_import() {
  return {"import",
          "make recordings in any common format into prompt files of a pack",
          "usage: vemba_pack import [--level DBM0] [--no-level] [--raw] SOURCE... CONFIG_DIR\n"
          "\n"
          "Reads each SOURCE (WAV, FLAC, OGG, AIFF or any other format libsndfile\n"
          "reads), mixes it to mono, resamples it to 8 kHz, trims silence at both\n"
          "ends to 25 ms, sets its active speech level (measured over active speech\n"
          "in the manner of ITU-T P.56) to -19 dBm0, encodes it as G.711 mu-law and\n"
          "appends the 150 samples of silence the request program drops from the\n"
          "end of every prompt. The prompt is named by the source's base name\n"
          "(takes/you_have.wav gives you_have) and written into the language\n"
          "directory of the pack in CONFIG_DIR (LPDAT + CODE_ID_bin) in the stored\n"
          "form, its rotated name + .dat.\n"
          "\n"
          "  --level DBM0  the active speech level to set (-60 to 0, default -19);\n"
          "                no peak passes -1 dBFS: the gain stops there, with a\n"
          "                warning\n"
          "  --no-level    keep the level as recorded\n"
          "  --raw         write the plain form NAME.raw instead\n"
          "\n"
          "A source that cannot be imported leaves its prompt as it was. A name the\n"
          "rules and builders never ask for is imported with a warning.\n"
          "Exits with 1 when any source could not be imported, 0 otherwise.\n",
          run_import,
          "--level",
          "--no-level --raw"};
}

}  // namespace vemba
