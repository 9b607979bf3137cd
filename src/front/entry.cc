#include "front/entry.h"

#include "audio/housekeeping.h"
#include "front/paths.h"
#include "front/request_run.h"
#include "platform/text_util.h"

namespace vemba {

namespace {

// "sound%s.wav" with the page name after its first six characters.
std::string wav_name_for(std::string_view page_name) {
  return "sound" + std::string(page_name.substr(std::min(kPageNameMin, page_name.size()))) + ".wav";
}

bool is_printable_ascii(char c) { return c >= 0x20 && c < 0x7F; }

// Names of files the request program keeps beside its pages and sounds (the
// directories may coincide), compared without regard to case as a
// case-insensitive file system would.
bool is_reserved_name(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) c = to_lower(c);
  if (is_schedule_file(lower)) return true;
  if (lower.starts_with("logtts") && lower.ends_with(".txt")) return true;
  return is_temporary_name(lower);
}

}  // namespace

bool is_safe_page_name(std::string_view name) {
  if (name.size() < kPageNameMin) return false;
  for (char c : name) {
    // Blanks, "#", "?" and "%" would break the sound's URL.
    if (!is_printable_ascii(c) || c == ' ') return false;
    if (std::string_view("/\\\"'<>&#?%").find(c) != std::string_view::npos) return false;
  }
  // The page, the sound and their temporaries must all be creatable.
  if (temporary_name(name, 0).size() > kFileNameMax) return false;
  if (wav_name_for(name).size() > kFileNameMax) return false;
  return !is_reserved_name(name);
}

bool is_safe_base_url(std::string_view url) {
  for (char c : url) {
    if (!is_printable_ascii(c)) return false;
    if (c == '"' || c == '\'' || c == '<' || c == '>' || c == '&') return false;
  }
  return true;
}

namespace {

// The settings the entry looks up, in the order it looks them up: without a
// settings file each lookup is reported.
struct EntrySettings {
  std::optional<std::string> id, code, lpdat, wwwroot, lpsounds, rules, contents, log_dir, res_dir,
      log_level, hold, hold_log;
};

EntrySettings look_up_settings(ConfigFile& config) {
  EntrySettings found;
  found.id = config.tts_get_cfg_param("id");
  found.code = config.tts_get_cfg_param("code");
  found.lpdat = config.tts_get_cfg_param("lpdat");
  found.wwwroot = config.tts_get_cfg_param("wwwroot");
  found.lpsounds = config.tts_get_cfg_param("lpsounds");
  found.rules = config.tts_get_cfg_param("rules");
  found.contents = config.tts_get_cfg_param("contents");
  found.log_dir = config.tts_get_cfg_param("log_dir");
  found.res_dir = config.tts_get_cfg_param("res_dir");
  found.log_level = config.tts_get_cfg_param("log_level");
  found.hold = config.tts_get_cfg_param("hold");
  found.hold_log = config.tts_get_cfg_param("hold_log");
  return found;
}

// Takes the eight arguments into the request, the settings and the
// configuration directory; false when one is too long or unsafe.
bool take_arguments(const RequestArgs& args, ConfigFile& config, Settings& settings,
                    Request* request) {
  bool fits = true;
  std::string config_dir = args.config_dir;
  if (config_dir.size() > kPathCapacity) {
    fits = false;
    config_dir.clear();  // not stored: the lookups then use the current directory
  }
  config.set_directory(config_dir);
  request->language_id = leading_int(args.language_id);
  request->message = args.message;
  if (request->message.size() > kMessageLimit) fits = false;
  request->mode = leading_int(args.mode);
  request->language_system_name = args.language_system_name;
  if (request->language_system_name.size() > kLanguageSystemNameLimit) fits = false;
  request->page_name = args.page_name;
  if (!is_safe_page_name(request->page_name)) fits = false;
  request->script_type = args.script_type;
  if (request->script_type.size() > kScriptTypeLimit) fits = false;
  settings.base_url = args.base_url;
  if (settings.base_url.size() > kPathCapacity || !is_safe_base_url(settings.base_url)) {
    fits = false;
  }
  return fits;
}

// False (logged) unless the pack is the one the request asks for.
bool check_language_id(Log& log, const std::optional<std::string>& id, int language_id) {
  if (!id) {
    tts_log(log, TTS_LL_ERR, "No Language ID description...\n");
    return false;
  }
  if (leading_int(*id) != language_id) {
    tts_log(log, TTS_LL_ERR, "LanguageID = [%d] doesn't match LangPack ID...\n", language_id);
    return false;
  }
  return true;
}

// Takes the settings, with defaults and warnings where they are missing or
// wrong; false when a path is too long.
bool take_settings(Log& log, const EntrySettings& found, Settings& settings) {
  bool fits = true;
  if (!found.wwwroot) {
    tts_log(log, TTS_LL_ERR,
            "TTS_WWWROOT is NOT specified. Setting default = [C:\\Inetpub\\wwwroot]...\n");
    settings.wwwroot = kDefaultWwwRoot;
  } else {
    settings.wwwroot = *found.wwwroot;
    if (settings.wwwroot.size() > kPathCapacity) fits = false;
  }
  if (!found.log_level) {
    tts_log(log, TTS_LL_ERR,
            "TTS_LOG_LEVEL is NOT specified. Setting default = [TTS_LL_INFO]...\n");
    settings.log_level = TTS_LL_INFO;
  } else {
    settings.log_level = leading_int(*found.log_level);
  }
  log.set_level(settings.log_level);
  int64_t hold_log_days = found.hold_log ? leading_int(*found.hold_log) : 0;
  if (hold_log_days <= 0) {
    tts_log(log, TTS_LL_WARN, "Wrong value of TTS_HOLD_LOG Setting default = 5 days\n");
    hold_log_days = 5;
  }
  settings.hold_log_minutes = hold_log_days * 1440;
  int64_t hold_minutes = found.hold ? leading_int(*found.hold) : 0;
  if (hold_minutes <= 0) {
    tts_log(log, TTS_LL_WARN, "Wrong value of TTS_HOLD Setting default = 5 min\n");
    hold_minutes = 5;
  }
  settings.hold_minutes = hold_minutes;

  settings.log_dir = found.log_dir.value_or("");
  settings.pages_dir = found.res_dir.value_or("");
  settings.sounds_dir = found.lpsounds.value_or("");
  for (const std::string* dir : {&settings.log_dir, &settings.pages_dir, &settings.sounds_dir}) {
    if (dir->size() >= kPathCapacity) fits = false;
  }
  if (found.lpdat && found.lpdat->size() > kPathCapacity) fits = false;
  return fits;
}

// The sound file and page paths; false when one would not fit.
bool derive_paths(const Settings& settings, Request* request) {
  std::string wav_name = wav_name_for(request->page_name);
  request->wav_path = with_separator(settings.sounds_dir) + wav_name;
  request->page_path = with_separator(settings.pages_dir) + request->page_name;
  return wav_name.size() + settings.sounds_dir.size() + 1 < kPathCapacity &&
         request->page_name.size() + settings.pages_dir.size() + 1 < kPathCapacity;
}

// False when a setting the request cannot do without is missing; each is
// logged. An empty output directory counts as missing: it would be the
// working directory, which the sweep would then empty.
bool check_required(Log& log, const EntrySettings& found) {
  bool complete = true;
  struct Required {
    const std::optional<std::string>& value;
    const char* name;
    bool directory;
  };
  for (const Required& r :
       {Required{found.code, "CODE", false}, Required{found.rules, "RULES", false},
        Required{found.lpdat, "LPDAT", false}, Required{found.lpsounds, "LPSOUNDS", true},
        Required{found.log_dir, "LOG_DIR", true}, Required{found.res_dir, "RES_DIR", true}}) {
    if (!r.value || (r.directory && r.value->empty())) {
      tts_log(log, TTS_LL_ERR, "No Language %s description...\n", r.name);
      complete = false;
    }
  }
  return complete;
}

}  // namespace

bool tts_entry(Context& ctx, int argc, const char* const* argv, Request* request) {
  for (int i = 0; i < argc; ++i) {
    ctx.console.write(string_printf("argv[%d] = %s\n", i, argv[i]));
  }
  if (argc != 9) {
    tts_log(ctx.log, TTS_LL_ERR, "Wrong number of arguments for Vemba TTS server. argc=[%d],\n",
            argc);
    return false;
  }
  return tts_entry(ctx, {argv[1], argv[2], argv[3], argv[4], argv[5], argv[6], argv[7], argv[8]},
                   request);
}

bool tts_entry(Context& ctx, const RequestArgs& args, Request* request) {
  Log& log = ctx.log;
  Settings& settings = ctx.settings;
  // Values that do not fit are reported together, after the pack's identity.
  bool fits = take_arguments(args, ctx.config, settings, request);
  EntrySettings found = look_up_settings(ctx.config);
  settings.config_dir = ctx.config.directory();
  if (!check_language_id(log, found.id, request->language_id)) return false;
  if (!take_settings(log, found, settings)) fits = false;
  if (!derive_paths(settings, request)) fits = false;
  if (!fits) {
    tts_log(log, TTS_LL_ERR, "Wrong value of argument(s) ...\n");
    return false;
  }
  if (!check_required(log, found)) return false;

  request->language_dir = language_dir_path(*found.lpdat, *found.code, *found.id);
  settings.html_background = ctx.config.tts_get_cfg_param("html_background").value_or("");
  settings.html_play_button = ctx.config.tts_get_cfg_param("html_play_button").value_or("");
  // Absent in deployments older than the key: the default, without a word.
  if (std::optional<std::string> interval = ctx.config.tts_get_cfg_param("sweep_interval")) {
    settings.sweep_interval_seconds = leading_int64(*interval);
    if (settings.sweep_interval_seconds < 0) {
      tts_log(log, TTS_LL_WARN, "Wrong value of TTS_SWEEP_INTERVAL Setting default = 60 sec\n");
      settings.sweep_interval_seconds = 60;
    }
  }
  return true;
}

int vemba_tts_main(int argc, const char* const* argv, FileSystem& fs, Clock& clock,
                   Console& console) {
  Context ctx(fs, clock, console, "");
  Request request;
  if (!tts_entry(ctx, argc, argv, &request)) return 0;
  return tts_run(ctx, request);
}

}  // namespace vemba
