// The gathered samples of one request: 8-bit mu-law at 8,000 samples per
// second, one channel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vemba {

/// Capacity of the sample area in bytes.
constexpr size_t kAudioBufferCapacity = 10000000;

/// Grows only as far as a request fills it, so a short request never touches
/// the full capacity.
class AudioBuffer {
 public:
  const std::string& bytes() const { return bytes_; }
  std::string& mutable_bytes() { return bytes_; }
  int32_t length() const { return static_cast<int32_t>(bytes_.size()); }
  void clear() { bytes_.clear(); }

 private:
  std::string bytes_;
};

}  // namespace vemba
