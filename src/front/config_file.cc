#include "front/config_file.h"

#include "platform/text_util.h"

namespace vemba {

std::vector<std::string> split_config_lines(std::string_view text, bool* too_long) {
  std::vector<std::string> lines;
  *too_long = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    size_t len = (end == std::string_view::npos ? text.size() : end + 1) - pos;
    len = std::min(len, kConfigReadPiece);
    if (lines.size() == kConfigMaxLines) {
      *too_long = true;
      break;
    }
    lines.emplace_back(text.substr(pos, len));
    pos += len;
  }
  return lines;
}

std::optional<std::string> find_config_value(const std::vector<std::string>& lines,
                                             std::string_view key) {
  for (const std::string& line : lines) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (std::string_view(line).substr(0, eq) != key) continue;
    std::string value = line.substr(eq + 1);
    while (!value.empty() && is_space(value.back())) value.pop_back();
    return value;
  }
  return std::nullopt;
}

std::optional<std::string> ConfigFile::tts_get_cfg_param(const char* key) {
  if (key == nullptr) {
    tts_log(log_, TTS_LL_ERR, "tts_get_cfg_param: key = NULL\n");
    return std::nullopt;
  }
  if (!open_) {
    if (directory_.empty()) {
      directory_ = ".\\";
    } else if (directory_.back() != '\\' && directory_.back() != '/') {
      directory_ += '\\';
    }
    std::string text;
    if (fs_.read_file(directory_ + kConfigFileName, &text) != ReadStatus::kOk) {
      tts_log(log_, TTS_LL_ERR, "Can't open file: %s\n", kConfigFileName);
      return std::nullopt;
    }
    bool too_long = false;
    lines_ = split_config_lines(text, &too_long);
    if (too_long) tts_log(log_, TTS_LL_ERR, "File: %s too long ...\n", kConfigFileName);
    open_ = true;
  }
  return find_config_value(lines_, key);
}

void ConfigFile::close() {
  open_ = false;
  lines_.clear();
}

}  // namespace vemba
