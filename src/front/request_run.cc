#include "front/request_run.h"

#include <optional>
#include <string>

#include "audio/channel_pacing.h"
#include "audio/housekeeping.h"
#include "audio/prompt_audio.h"
#include "audio/response_page.h"
#include "audio/wav_writer.h"
#include "front/paths.h"
#include "platform/text_util.h"
#include "rules/rules_loader.h"
#include "translate/translator.h"

namespace vemba {

bool tts_startup(Context& ctx, int mode) {
  Settings& settings = ctx.settings;
  ConfigFile& config = ctx.config;
  Log& log = ctx.log;

  settings.channels = channel_count(log, config.tts_get_cfg_param("channels"));
  int day = log_day_number(ctx.clock.local_time(ctx.now));
  settings.log_dir = with_separator(settings.log_dir);
  settings.pages_dir = with_separator(settings.pages_dir);
  settings.sounds_dir = with_separator(settings.sounds_dir);
  log.open(ctx.fs, string_printf("%slogTTS%d.txt", settings.log_dir.c_str(), day));
  if (!init_channel_schedule(ctx.fs, log, ctx.clock, settings.sounds_dir, settings.channels)) {
    return false;
  }

  std::optional<std::string> rules = config.tts_get_cfg_param("rules");
  std::optional<std::string> contents = config.tts_get_cfg_param("contents");
  std::optional<std::string> id = config.tts_get_cfg_param("id");
  std::optional<std::string> version = config.tts_get_cfg_param("version");
  std::optional<std::string> code = config.tts_get_cfg_param("code");
  bool complete = true;
  for (const auto& [value, name] : {std::pair{&rules, "RULES"}, std::pair{&id, "ID"},
                                    std::pair{&version, "VERSION"}, std::pair{&code, "CODE"}}) {
    if (!*value) {
      tts_log(log, TTS_LL_ERR, "No Language %s description...\n", name);
      complete = false;
    }
  }
  if (!complete) return false;
  // Only text mode reads the contents file.
  if (mode == 1 && !contents) {
    tts_log(log, TTS_LL_ERR, "No Language CONTENTS description...\n");
    return false;
  }
  std::string contents_name = contents.value_or("");
  tts_log(log, TTS_LL_INFO, "TTS_ID = '%s'", id->c_str());
  tts_log(log, TTS_LL_INFO, "TTS_VERSION = '%s'", version->c_str());
  tts_log(log, TTS_LL_INFO, "TTS_CODE = '%s'", code->c_str());
  tts_log(log, TTS_LL_INFO, "TTS_RULES = '%s'", rules->c_str());
  tts_log(log, TTS_LL_INFO, "TTS_CONTENTS = '%s'", contents_name.c_str());

  const std::string& dir = config.directory();
  return load_rules(ctx.fs, log, ctx.languages, dir + *rules, dir + contents_name, leading_int(*id),
                    mode) == 1;
}

bool tts_process_request(Context& ctx, const Request& request) {
  Log& log = ctx.log;
  ctx.audio.clear();
  tts_log(log, TTS_LL_INFO, "id = %d, message = '%s', mode = %d, language_system_name = '%s'\n",
          request.language_id, request.message.c_str(), request.mode,
          request.language_system_name.c_str());
  PromptList prompts;
  {
    Translator translator(log, ctx.languages, ctx.clock, ctx.now, request.message,
                          request.language_id, request.mode, request.language_system_name);
    prompts = translator.translate();
  }
  if (prompts.empty()) return false;

  for (const std::string& prompt : prompts) {
    load_prompt(ctx.fs, log, ctx.console, ctx.audio, prompt, request.language_dir);
  }
  // Some prompts missing still make an answer, none at all does not. Text
  // mode (1) lists texts, which need not name recordings, so it goes on.
  if (request.mode != 1 && ctx.audio.length() == 0) {
    tts_log(log, TTS_LL_ERR, "ERROR !! <tts_process_request> No prompt of the message has audio\n");
    return false;
  }
  if (!book_and_wait(ctx.fs, log, ctx.clock, ctx.settings.sounds_dir, ctx.settings.channels,
                     audio_duration_ms(ctx.audio.length()))) {
    return false;
  }
  if (!write_wave_file(ctx.fs, ctx.console, ctx.audio, request.wav_path)) {
    tts_log(log, TTS_LL_ERR, "Unable to write [%s] file ...\n", request.wav_path.c_str());
    return false;
  }
  return true;
}

void tts_finish(Context& ctx) {
  const Settings& settings = ctx.settings;
  ctx.audio.clear();
  ctx.log.close();
  ctx.config.close();
  sweep_old_files(ctx.fs, ctx.console, ctx.clock, ctx.now,
                  {settings.sounds_dir, settings.pages_dir, settings.log_dir, settings.hold_minutes,
                   settings.hold_log_minutes, settings.sweep_interval_seconds});
  ctx.languages.clear_languages();
}

int tts_run(Context& ctx, const Request& request) {
  if (!tts_startup(ctx, request.mode)) {
    tts_log(ctx.log, TTS_LL_ERR, "Can't initialize Vemba TTS server ...\n");
    tts_finish(ctx);
    return 0;
  }
  bool success = tts_process_request(ctx, request);
  // A sound of the same name left by an earlier request must not pass for
  // this one's answer.
  if (!success) ctx.fs.delete_file(request.wav_path);
  const Settings& settings = ctx.settings;
  bool written = tts_write_page(ctx.fs, ctx.log, request.page_path, request.script_type, success,
                                sound_url(settings.base_url, settings.wwwroot, request.wav_path),
                                {settings.html_background, settings.html_play_button});
  tts_finish(ctx);
  // 1 tells the caller there is a page to read, and only then.
  return written ? 1 : 0;
}

}  // namespace vemba
