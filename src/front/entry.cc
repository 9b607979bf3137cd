#include "front/entry.h"

#include "front/request_run.h"
#include "platform/text_util.h"

namespace vemba {

namespace {

// Appends "\" unless the directory is empty or already ends in one.
std::string join_path(const std::string& dir, const std::string& name) {
  if (dir.empty() || dir.back() == '\\') return dir + name;
  return dir + "\\" + name;
}

}  // namespace

bool is_safe_page_name(std::string_view name) {
  if (name.size() < kPageNameMin || name.size() > kPageNameMax) return false;
  if (name == "." || name == "..") return false;
  for (char c : name) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return false;
    switch (c) {
      case '/':
      case '\\':
      case '"':
      case '\'':
      case '<':
      case '>':
      case '&':
        return false;
      default:
        break;
    }
  }
  return true;
}

bool is_safe_base_url(std::string_view url) {
  for (char c : url) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return false;
    if (c == '"' || c == '\'' || c == '<' || c == '>' || c == '&') return false;
  }
  return true;
}

bool tts_entry(Context& ctx, int argc, const char* const* argv, Request* request) {
  for (int i = 0; i < argc; ++i) {
    ctx.console.write(string_printf("argv[%d] = %s\n", i, argv[i]));
  }
  Log& log = ctx.log;
  if (argc != 9) {
    tts_log(log, TTS_LL_ERR, "Wrong number of arguments for Vemba TTS server. argc=[%d],\n", argc);
    return false;
  }

  bool wrong = false;
  std::string config_dir = argv[1];
  if (config_dir.size() > kPathCapacity) {
    wrong = true;
    config_dir.clear();  // not stored: the lookups then use the current directory
  }
  ctx.config.set_directory(config_dir);
  request->language_id = leading_int(argv[2]);
  request->message = argv[3];
  if (request->message.size() > kMessageLimit) wrong = true;
  request->mode = leading_int(argv[4]);
  request->language_system_name = argv[5];
  if (request->language_system_name.size() > kLanguageSystemNameLimit) wrong = true;
  request->page_name = argv[6];
  if (!is_safe_page_name(request->page_name)) wrong = true;
  request->script_type = argv[7];
  if (request->script_type.size() > kScriptTypeLimit) wrong = true;
  Settings& settings = ctx.settings;
  settings.base_url = argv[8];
  if (settings.base_url.size() > kPathCapacity || !is_safe_base_url(settings.base_url)) {
    wrong = true;
  }

  ConfigFile& config = ctx.config;
  std::optional<std::string> id = config.tts_get_cfg_param("id");
  std::optional<std::string> code = config.tts_get_cfg_param("code");
  std::optional<std::string> lpdat = config.tts_get_cfg_param("lpdat");
  std::optional<std::string> wwwroot = config.tts_get_cfg_param("wwwroot");
  std::optional<std::string> lpsounds = config.tts_get_cfg_param("lpsounds");
  std::optional<std::string> rules = config.tts_get_cfg_param("rules");
  std::optional<std::string> contents = config.tts_get_cfg_param("contents");
  std::optional<std::string> log_dir = config.tts_get_cfg_param("log_dir");
  std::optional<std::string> res_dir = config.tts_get_cfg_param("res_dir");
  std::optional<std::string> log_level = config.tts_get_cfg_param("log_level");
  std::optional<std::string> hold = config.tts_get_cfg_param("hold");
  std::optional<std::string> hold_log = config.tts_get_cfg_param("hold_log");
  settings.config_dir = config.directory();

  if (!id) {
    tts_log(log, TTS_LL_ERR, "No Language ID description...\n");
    return false;
  }
  if (leading_int(*id) != request->language_id) {
    tts_log(log, TTS_LL_ERR, "LanguageID = [%d] doesn't match LangPack ID...\n",
            request->language_id);
    return false;
  }
  if (!wwwroot) {
    tts_log(log, TTS_LL_ERR,
            "TTS_WWWROOT is NOT specified. Setting default = [C:\\Inetpub\\wwwroot]...\n");
    settings.wwwroot = kDefaultWwwRoot;
  } else {
    settings.wwwroot = *wwwroot;
    if (settings.wwwroot.size() > kPathCapacity) wrong = true;
  }
  if (!log_level) {
    tts_log(log, TTS_LL_ERR,
            "TTS_LOG_LEVEL is NOT specified. Setting default = [TTS_LL_INFO]...\n");
    settings.log_level = TTS_LL_INFO;
  } else {
    settings.log_level = leading_int(*log_level);
  }
  log.set_level(settings.log_level);
  int64_t hold_log_days = hold_log ? leading_int(*hold_log) : 0;
  if (hold_log_days <= 0) {
    tts_log(log, TTS_LL_WARN, "Wrong value of TTS_HOLD_LOG Setting default = 5 days\n");
    hold_log_days = 5;
  }
  settings.hold_log_minutes = hold_log_days * 1440;
  int64_t hold_minutes = hold ? leading_int(*hold) : 0;
  if (hold_minutes <= 0) {
    tts_log(log, TTS_LL_WARN, "Wrong value of TTS_HOLD Setting default = 5 min\n");
    hold_minutes = 5;
  }
  settings.hold_minutes = hold_minutes;

  settings.log_dir = log_dir.value_or("");
  settings.pages_dir = res_dir.value_or("");
  settings.sounds_dir = lpsounds.value_or("");
  for (const std::string* dir : {&settings.log_dir, &settings.pages_dir, &settings.sounds_dir}) {
    if (dir->size() >= kPathCapacity) wrong = true;
  }

  std::string wav_name = string_printf(
      "sound%s.wav",
      request->page_name.substr(std::min<size_t>(6, request->page_name.size())).c_str());
  if (wav_name.size() + settings.sounds_dir.size() + 1 >= kPathCapacity ||
      request->page_name.size() + settings.pages_dir.size() + 1 >= kPathCapacity) {
    wrong = true;
  }
  request->wav_path = join_path(settings.sounds_dir, wav_name);
  request->page_path = join_path(settings.pages_dir, request->page_name);
  if (lpdat && lpdat->size() > kPathCapacity) wrong = true;

  if (wrong) {
    tts_log(log, TTS_LL_ERR, "Wrong value of argument(s) ...\n");
    return false;
  }

  settings.lpdat = lpdat.value_or("");
  if (settings.lpdat.empty() || settings.lpdat.back() != '\\') settings.lpdat += '\\';

  bool missing = false;
  struct Required {
    const std::optional<std::string>& value;
    const char* name;
  };
  for (const Required& r : {Required{code, "CODE"}, Required{rules, "RULES"},
                            Required{lpdat, "LPDAT"}, Required{lpsounds, "LPSOUNDS"},
                            Required{log_dir, "LOG_DIR"}, Required{res_dir, "RES_DIR"}}) {
    if (!r.value) {
      tts_log(log, TTS_LL_ERR, "No Language %s description...\n", r.name);
      missing = true;
    }
  }
  if (missing) return false;

  request->language_dir = settings.lpdat + *code + "_" + *id + "_bin\\";
  settings.html_background = config.tts_get_cfg_param("html_background").value_or("");
  settings.html_play_button = config.tts_get_cfg_param("html_play_button").value_or("");
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
