#include "audio/audio_buffer.h"

#include <algorithm>

namespace vemba {

std::shared_ptr<const ReadFile> AudioBuffer::opened(const std::string& path) const {
  auto it = files_.find(path);
  return it == files_.end() ? nullptr : it->second;
}

void AudioBuffer::append(const std::string& path, std::shared_ptr<const ReadFile> file,
                         int32_t length) {
  files_.emplace(path, file);
  if (length > 0) segments_.push_back({std::move(file), length});
  length_ += length;
}

void AudioBuffer::trim(int32_t bytes) {
  bytes = std::min(bytes, length_);
  length_ -= bytes;
  while (bytes > 0) {
    AudioSegment& last = segments_.back();
    int32_t cut = std::min(bytes, last.length);
    last.length -= cut;
    bytes -= cut;
    if (last.length == 0) segments_.pop_back();
  }
}

void AudioBuffer::clear() {
  segments_.clear();
  files_.clear();
  length_ = 0;
}

}  // namespace vemba
