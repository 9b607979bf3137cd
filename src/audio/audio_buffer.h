// The gathered samples of one request: 8-bit mu-law at 8,000 samples per
// second, one channel. They are not copied into the process: the buffer holds
// the opened prompt files and how much of each the sound takes, and the WAV
// writer has the system copy those bytes straight into the sound file.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vemba {

/// The first length bytes of an opened prompt file.
struct AudioSegment {
  std::shared_ptr<const ReadFile> file;
  int32_t length = 0;
};

class AudioBuffer {
 public:
  /// The fill length: bytes of sound gathered so far.
  int32_t length() const { return length_; }
  const std::vector<AudioSegment>& segments() const { return segments_; }

  /// The file opened at path earlier in this request, or null: a prompt
  /// said several times is opened once.
  std::shared_ptr<const ReadFile> opened(const std::string& path) const;
  /// Appends the first length bytes of file, opened at path.
  void append(const std::string& path, std::shared_ptr<const ReadFile> file, int32_t length);
  /// Drops the last bytes of the sound, reaching back into the segments
  /// before the last; never below empty.
  void trim(int32_t bytes);
  /// Empties the buffer and closes its files.
  void clear();

 private:
  std::vector<AudioSegment> segments_;
  std::map<std::string, std::shared_ptr<const ReadFile>> files_;
  int32_t length_ = 0;
};

}  // namespace vemba
