#include "audio/prompt_audio.h"

#include <algorithm>

#include "base/marks.h"
#include "platform/text_util.h"

namespace vemba {

namespace {

char rotate_char(char c) {
  // "0"-"9" then "a"-"z" as one ring of 36, moved ten places forward.
  int index;
  if (c >= '0' && c <= '9') {
    index = c - '0';
  } else if (c >= 'a' && c <= 'z') {
    index = 10 + (c - 'a');
  } else {
    return c;
  }
  index = (index + 10) % 36;
  return static_cast<char>(index < 10 ? '0' + index : 'a' + (index - 10));
}

// Adds one prompt file to the buffer; false when it cannot be opened.
bool append_prompt_file(FileSystem& fs, Log& log, AudioBuffer& audio, const std::string& path,
                        const std::string& prepared) {
  std::shared_ptr<const ReadFile> file = audio.opened(path);
  if (!file) {
    ReadStatus status;
    file = fs.open_read(path, &status);
    if (!file) return false;
  }
  int32_t fill = audio.length();
  int64_t room = fill > kAudioFillCheck ? 0 : kAudioFillMax - fill;
  int64_t take = std::min(file->size(), room);
  if (file->size() > room) {
    tts_log(log, TTS_LL_WARN, "File too long. Item: [%s] ignored ...\n", prepared.c_str());
  }
  audio.append(path, std::move(file), static_cast<int32_t>(take));
  // The last 150 bytes of the sound so far are dropped after every prompt so
  // that the joins overlap; a prompt shorter than that eats into the one
  // before, and an emptied buffer stays empty.
  audio.trim(kPromptTrim);
  return true;
}

}  // namespace

std::string prepare_prompt_name(std::string_view name) {
  size_t mark = name.find(kCommonMark);
  if (mark != std::string_view::npos) name.remove_prefix(mark + kCommonMark.size());
  size_t wav = name.find(".wav");
  if (wav != std::string_view::npos) name = name.substr(0, wav);
  return std::string(name);
}

bool is_safe_prompt_name(std::string_view prepared) {
  std::string path = os_path(prepared);
  if (!path.empty() && path.front() == '/') return false;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    if (path.compare(start, end - start, "..") == 0) return false;
    start = end + 1;
  }
  return true;
}

std::optional<std::string> prompt_data_name(Console& console, std::string_view name) {
  if (name.size() >= kPromptNameLimit) {
    console.write(string_printf("ERROR!! Name [%.*s] length longer than allowed ...\n",
                                static_cast<int>(name.size()), name.data()));
    return std::nullopt;
  }
  std::string result(name);
  for (char& c : result) c = rotate_char(c);
  return result;
}

void load_prompt(FileSystem& fs, Log& log, Console& console, AudioBuffer& audio,
                 std::string_view prompt_name, std::string_view language_dir) {
  std::string prepared = prepare_prompt_name(prompt_name);
  // Names can come from the caller's message; none may reach outside the
  // language directory.
  if (!is_safe_prompt_name(prepared)) {
    tts_log(log, TTS_LL_ERR, "RAW item: [%s] is not a safe name ...\n", prepared.c_str());
    return;
  }
  std::string dir(language_dir);
  std::optional<std::string> stored = prompt_data_name(console, prepared);
  if (stored && append_prompt_file(fs, log, audio, dir + *stored + ".dat", prepared)) return;
  // Without a stored form (also when the name is too long for one) the plain
  // form is still tried.
  if (append_prompt_file(fs, log, audio, dir + prepared + ".raw", prepared)) return;
  tts_log(log, TTS_LL_ERR, "RAW item: [%s] is missing ...\n", prepared.c_str());
}

}  // namespace vemba
