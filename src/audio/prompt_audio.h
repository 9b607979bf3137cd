// Prompt recordings into the request's AudioBuffer: name preparation, the
// stored and plain file forms, the byte limit and the overlap trim.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "audio/audio_buffer.h"
#include "base/log.h"
#include "platform/console.h"
#include "platform/file_system.h"

namespace vemba {

/// Highest fill length the buffer reaches; a byte is appended only while the
/// fill length is at most kAudioFillCheck.
constexpr int32_t kAudioFillMax = 9999998;
constexpr int32_t kAudioFillCheck = 9999997;
/// At most this many bytes of one prompt file are read.
constexpr size_t kPromptFileMax = 9999999;
/// Bytes dropped from the end of the sound after every opened prompt file.
constexpr int32_t kPromptTrim = 150;
/// Names of this many characters or more have no stored form.
constexpr size_t kPromptNameLimit = 50;

/// The prompt name as looked up on disk: the text after the first
/// "*SYSCOM*" (if any), cut at its first ".wav".
std::string prepare_prompt_name(std::string_view name);

/// True when a prepared name stays inside the language directory: not
/// absolute and without a ".." component (with "\" taken as "/").
bool is_safe_prompt_name(std::string_view prepared);

/// The base name of a prompt's stored form ("0"-"9","a"-"z" rotated by ten),
/// or nothing (with a console message) for names of 50 characters or more.
std::optional<std::string> prompt_data_name(Console& console, std::string_view name);

/// Appends the samples of one prompt to the buffer, stored form first, then
/// the plain ".raw" form; problems are logged and the prompt is skipped.
void load_prompt(FileSystem& fs, Log& log, Console& console, AudioBuffer& audio,
                 std::string_view prompt_name, std::string_view language_dir);

/// Play time in whole milliseconds of a byte count (8 bytes per millisecond).
inline int32_t audio_duration_ms(int32_t bytes) { return bytes / 8; }

}  // namespace vemba
