// The process-wide state of one run, built by the entry and passed down.
#pragma once

#include <string>

#include "audio/audio_buffer.h"
#include "base/log.h"
#include "front/config_file.h"
#include "front/settings.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "rules/rule_model.h"

namespace vemba {

struct Context {
  Context(FileSystem& fs_, Clock& clock_, Console& console_, std::string config_dir)
      : fs(fs_),
        clock(clock_),
        console(console_),
        now(clock_.now()),
        log(console_, clock_),
        config(fs_, log, std::move(config_dir)) {}

  FileSystem& fs;
  Clock& clock;
  Console& console;
  /// The request's "now", read once so its dates, log day and sweep agree;
  /// pacing reads the clock afresh, since it sleeps.
  const int64_t now;
  Log log;
  ConfigFile config;
  Settings settings;
  LanguageTable languages;
  AudioBuffer audio;
};

}  // namespace vemba
