#include "tools/pack_audit.h"

#include <algorithm>
#include <cmath>

#include "audio/prompt_audio.h"
#include "platform/file_system.h"
#include "platform/text_util.h"
#include "tools/pack_commands.h"
#include "tools/pack_missing.h"

namespace vemba {

namespace {

// The prompt name of a stored file name: the rotation of "0"-"9","a"-"z"
// by ten places, undone.
std::string unrotated(std::string name) {
  for (char& c : name) {
    if (is_digit(c)) {
      c = static_cast<char>('q' + (c - '0'));
    } else if (c >= 'a' && c <= 'j') {
      c = static_cast<char>('0' + (c - 'a'));
    } else if (c >= 'k' && c <= 'z') {
      c = static_cast<char>('a' + (c - 'k'));
    }
  }
  return name;
}

std::vector<AuditFlag> flags_of(const PromptMeasures& m, std::optional<double> median) {
  std::vector<AuditFlag> flags;
  if (!m.header.empty()) flags.push_back({"header", m.header, true});
  // A short prompt is cut whole; saying so once is enough.
  if (m.bytes <= static_cast<size_t>(kPromptTrim)) {
    flags.push_back({"short", "", true});
  } else if (m.sound_in_trim) {
    flags.push_back({"cut", "", true});
  }
  if (m.clipped > 0) flags.push_back({"clipped", "", true});
  if (m.level_dbm0 && median && std::fabs(*m.level_dbm0 - *median) > kLevelSpreadDb) {
    flags.push_back({"level", string_printf("%+.1f", *m.level_dbm0 - *median), false});
  }
  if (m.leading_silence_ms && *m.leading_silence_ms > kLeadingSilenceMaxMs) {
    flags.push_back({"lead", "", false});
  }
  return flags;
}

std::string number(std::optional<double> value, int decimals) {
  if (!value || !std::isfinite(*value)) return "-";
  // Rounded first, so a small negative value shows as 0.0, not -0.0.
  double scale = std::pow(10.0, decimals);
  return string_printf("%.*f", decimals, std::round(*value * scale) / scale + 0.0);
}

std::string flag_text(const AuditFlag& flag) {
  return flag.detail.empty() ? flag.name : flag.name + ":" + flag.detail;
}

std::string json_string(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      out += string_printf("\\u%04x", c);
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string json_number(std::optional<double> value, int decimals) {
  std::string text = number(value, decimals);
  return text == "-" ? "null" : text;
}

std::string text_report(const PackAudit& audit) {
  size_t name_width = 6, file_width = 4;
  for (const AuditRow& row : audit.rows) {
    name_width = std::max(name_width, row.name.size());
    file_width = std::max(file_width, row.file.size());
  }
  const int nw = static_cast<int>(name_width), fw = static_cast<int>(file_width);
  std::string text =
      string_printf("%-*s  %-*s  %7s  %6s  %6s  %7s  %5s  %7s  flags\n", nw, "prompt", fw, "file",
                    "seconds", "dBm0", "peak", "clipped", "dc%", "lead_ms");
  for (const AuditRow& row : audit.rows) {
    std::string flags;
    for (const AuditFlag& flag : row.flags) flags += (flags.empty() ? "" : " ") + flag_text(flag);
    if (!row.measures) {
      text += string_printf("%-*s  %-*s  %7s  %6s  %6s  %7s  %5s  %7s  %s\n", nw, row.name.c_str(),
                            fw, "-", "-", "-", "-", "-", "-", "-", flags.c_str());
      continue;
    }
    const PromptMeasures& m = *row.measures;
    text +=
        string_printf("%-*s  %-*s  %7.3f  %6s  %6s  %7zu  %5s  %7s  %s\n", nw, row.name.c_str(), fw,
                      row.file.c_str(), m.seconds, number(m.level_dbm0, 1).c_str(),
                      number(m.peak_dbfs, 1).c_str(), m.clipped, number(m.dc_percent, 1).c_str(),
                      number(m.leading_silence_ms, 0).c_str(), flags.c_str());
  }
  return text;
}

std::string json_report(const PackAudit& audit, const std::string& language_dir) {
  std::string text = "{\"language_dir\": " + json_string(language_dir) +
                     ",\n \"median_level_dbm0\": " + json_number(audit.median_level_dbm0, 1) +
                     ",\n \"rows\": [";
  for (size_t i = 0; i < audit.rows.size(); ++i) {
    const AuditRow& row = audit.rows[i];
    text += i == 0 ? "\n  {" : ",\n  {";
    text += "\"prompt\": " + json_string(row.name);
    text += ", \"file\": " + (row.measures ? json_string(row.file) : "null");
    if (row.measures) {
      const PromptMeasures& m = *row.measures;
      text += ", \"seconds\": " + json_number(m.seconds, 3);
      text += ", \"level_dbm0\": " + json_number(m.level_dbm0, 1);
      text += ", \"peak_dbfs\": " + json_number(m.peak_dbfs, 1);
      text += ", \"clipped\": " + std::to_string(m.clipped);
      text += ", \"dc_percent\": " + json_number(m.dc_percent, 2);
      text += ", \"leading_silence_ms\": " + json_number(m.leading_silence_ms, 0);
      text += ", \"header\": " + (m.header.empty() ? "null" : json_string(m.header));
    }
    text += ", \"flags\": [";
    for (size_t f = 0; f < row.flags.size(); ++f) {
      text += (f == 0 ? "" : ", ") + json_string(row.flags[f].name);
    }
    text += std::string("], \"error\": ") + (row.has_error() ? "true" : "false") + "}";
  }
  text += string_printf(
      "],\n \"summary\": {\"rows\": %zu, \"recordings\": %zu, \"missing\": %zu, \"errors\": %zu, "
      "\"warnings\": %zu}}\n",
      audit.rows.size(), audit.recordings, audit.missing, audit.errors, audit.warnings);
  return text;
}

// Every recording the loader could open in the directory, both forms.
bool read_recordings(FileSystem& fs, const std::string& dir, std::vector<PackRecording>* out) {
  for (const char* ext : {".dat", ".raw"}) {
    std::vector<DirEntry> entries;
    if (!fs.list(dir, std::string("*") + ext, &entries)) return false;
    for (const DirEntry& entry : entries) {
      // A file a killed import left under its temporary name is never played.
      if (is_temporary_name(entry.name)) continue;
      PackRecording r;
      r.file = entry.name;
      r.name = entry.name.substr(0, entry.name.size() - 4);
      if (std::string_view(ext) == ".dat") r.name = unrotated(r.name);
      if (fs.read_file(dir + entry.name, &r.bytes, kPromptFileMax) != ReadStatus::kOk) continue;
      out->push_back(std::move(r));
    }
  }
  return true;
}

int run_audit(PackEnv& env, const std::vector<std::string>& args) {
  const PackCommand command = pack_command_audit();
  std::vector<std::string> positional;
  bool json = false;
  for (const std::string& arg : args) {
    if (arg == "--json") {
      json = true;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 1) return pack_usage_error(env, command, "expected CONFIG_DIR");
  auto fail = [&env](const std::string& message) {
    env.err.write("vemba_pack audit: " + message + "\n");
    return 1;
  };
  PackConfig config;
  std::vector<std::string> names;
  std::string error;
  if (!pack_prompt_names(env, positional[0], &config, &names, &error)) return fail(error);
  const std::string dir = config.language_dir();
  std::vector<PackRecording> recordings;
  if (!read_recordings(env.fs, dir, &recordings)) {
    return fail(os_path(dir) + ": the language directory cannot be read");
  }
  PackAudit audit = audit_pack(recordings, missing_recordings(env.fs, env.err, names, dir));
  if (json) {
    env.out.write(json_report(audit, os_path(dir)));
  } else {
    env.out.write(text_report(audit));
    env.out.write(string_printf(
        "vemba_pack audit: %zu recordings, %zu missing; %zu with errors, %zu with warnings; "
        "median level %s dBm0\n",
        audit.recordings, audit.missing, audit.errors, audit.warnings,
        number(audit.median_level_dbm0, 1).c_str()));
  }
  return audit.errors == 0 ? 0 : 1;
}

}  // namespace

bool AuditRow::has_error() const {
  return std::any_of(flags.begin(), flags.end(), [](const AuditFlag& f) { return f.error; });
}

PackAudit audit_pack(const std::vector<PackRecording>& recordings,
                     const std::vector<std::string>& missing) {
  PackAudit audit;
  std::vector<double> levels;
  for (const PackRecording& recording : recordings) {
    AuditRow row{recording.name, recording.file, measure_prompt(recording.bytes), {}};
    if (row.measures->level_dbm0) levels.push_back(*row.measures->level_dbm0);
    audit.rows.push_back(std::move(row));
  }
  if (!levels.empty()) {
    std::sort(levels.begin(), levels.end());
    size_t half = levels.size() / 2;
    audit.median_level_dbm0 =
        levels.size() % 2 ? levels[half] : (levels[half - 1] + levels[half]) / 2;
  }
  for (AuditRow& row : audit.rows) row.flags = flags_of(*row.measures, audit.median_level_dbm0);
  for (const std::string& name : missing) {
    audit.rows.push_back({name, "", std::nullopt, {{"missing", "", true}}});
  }
  std::sort(audit.rows.begin(), audit.rows.end(),
            [](const AuditRow& a, const AuditRow& b) { return a.name < b.name; });
  for (const AuditRow& row : audit.rows) {
    audit.recordings += row.measures.has_value();
    audit.missing += !row.measures.has_value();
    audit.errors += row.has_error();
    audit.warnings += !row.has_error() && !row.flags.empty();
  }
  return audit;
}

PackCommand pack_command_audit() {
  return {"audit",
          "measure every recording of a pack and flag what will sound wrong",
          "usage: vemba_pack audit CONFIG_DIR [--json]\n"
          "\n"
          "Reads the pack named by CONFIG_DIR/tts_vemba.cfg and writes one row for\n"
          "every recording in its language directory (LPDAT + CODE_ID_bin), in\n"
          "either form, and for every prompt name the rules and the English builders\n"
          "can ask for that has none: the play time (what the 150-byte trim leaves),\n"
          "the active speech level in dBm0, the peak in dBFS, the samples on the\n"
          "two end codes of mu-law (clipped), the DC offset in percent of full scale,\n"
          "the silence before the first sound in ms, and flags:\n"
          "\n"
          "  header   the file starts with a container header (RIFF, FORM, OggS,\n"
          "           ID3, fLaC, ...), which would be played as a click\n"
          "  short    150 bytes or fewer: the trim leaves nothing to play\n"
          "  cut      sound in the last 150 bytes, which the trim cuts off\n"
          "  clipped  samples on the end codes\n"
          "  missing  no recording in either form\n"
          "  level    (warning) active speech level more than 3 dB from the median\n"
          "  lead     (warning) more than 300 ms of silence before the first sound\n"
          "\n"
          "A summary line closes the table; --json writes the same as one JSON\n"
          "object instead. Exits with 1 when any row has a flag that is not a\n"
          "warning, 0 otherwise.\n",
          run_audit,
          "",
          "--json"};
}

}  // namespace vemba
