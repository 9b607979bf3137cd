#include "audio/prompt_measure.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "audio/mulaw.h"
#include "audio/prompt_audio.h"
#include "audio/speech_level.h"

namespace vemba {

namespace {

constexpr std::string_view kHeaderMarks[] = {"RIFF", "RIFX", "RF64", "FORM", "OggS",
                                             "ID3",  "fLaC", ".snd", "caff"};

uint32_t read32(std::string_view bytes, size_t at, bool big_endian) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    uint32_t byte = static_cast<uint8_t>(bytes[at + (big_endian ? i : 3 - i)]);
    value = (value << 8) | byte;
  }
  return value;
}

// Offset of the payload of the first chunk named id, walking the chunks that
// follow a 12-byte RIFF or FORM header; 0 when there is none.
size_t chunk_payload(std::string_view bytes, std::string_view id, bool big_endian) {
  size_t at = 12;
  while (at + 8 <= bytes.size()) {
    uint32_t size = read32(bytes, at + 4, big_endian);
    if (bytes.substr(at, 4) == id) return at + 8;
    at += 8 + static_cast<size_t>(size) + (size & 1);
  }
  return 0;
}

float threshold_for(float peak) { return peak * static_cast<float>(from_db(-kSoundBelowPeakDb)); }

}  // namespace

std::optional<size_t> first_sound(std::span<const float> samples, float peak) {
  if (peak <= 0) return std::nullopt;
  const float threshold = threshold_for(peak);
  for (size_t i = 0; i < samples.size(); ++i) {
    if (std::fabs(samples[i]) >= threshold) return i;
  }
  return std::nullopt;
}

std::optional<size_t> end_of_sound(std::span<const float> samples, float peak) {
  if (peak <= 0) return std::nullopt;
  const float threshold = threshold_for(peak);
  for (size_t i = samples.size(); i > 0; --i) {
    if (std::fabs(samples[i - 1]) >= threshold) return i;
  }
  return std::nullopt;
}

std::string_view header_mark(std::string_view bytes) {
  for (std::string_view mark : kHeaderMarks) {
    if (bytes.substr(0, mark.size()) == mark) return mark;
  }
  return {};
}

size_t header_length(std::string_view bytes) {
  std::string_view mark = header_mark(bytes);
  size_t length = 0;
  if (mark == "RIFF" || mark == "RF64") length = chunk_payload(bytes, "data", false);
  if (mark == "RIFX") length = chunk_payload(bytes, "data", true);
  if (mark == "FORM") {
    // The sound data chunk starts with an offset and a block size.
    size_t at = chunk_payload(bytes, "SSND", true);
    if (at != 0 && at + 8 <= bytes.size()) length = at + 8 + read32(bytes, at, true);
  }
  if (mark == ".snd" && bytes.size() >= 8) length = read32(bytes, 4, true);
  return std::min(length, bytes.size());
}

PromptMeasures measure_prompt(std::string_view bytes) {
  PromptMeasures m;
  m.bytes = bytes.size();
  m.header = header_mark(bytes);
  size_t played = bytes.size() - std::min<size_t>(bytes.size(), kPromptTrim);
  m.seconds = static_cast<double>(played) / kPromptRate;

  size_t start = std::min(header_length(bytes), played);
  std::vector<float> samples;
  samples.reserve(bytes.size() - start);
  double sum = 0;
  for (size_t i = start; i < bytes.size(); ++i) {
    uint8_t code = static_cast<uint8_t>(bytes[i]);
    samples.push_back(mulaw_decode_float(code));
    if (i < played) {
      sum += samples.back();
      m.clipped += code == kMulawMaxPositive || code == kMulawMaxNegative;
    }
  }
  std::span<const float> all(samples);
  std::span<const float> heard = all.first(played - start);
  float peak = peak_of(heard);
  m.peak_dbfs = to_db(peak);
  m.level_dbm0 = active_speech_level(heard, kPromptRate);
  m.dc_percent = heard.empty() ? 0 : 100 * sum / heard.size();
  if (std::optional<size_t> first = first_sound(heard, peak)) {
    m.leading_silence_ms = *first * 1000.0 / kPromptRate;
  }
  // Sound in the cut tail counts against the loudest sample of the whole file.
  std::optional<size_t> end = end_of_sound(all, peak_of(all));
  m.sound_in_trim = end && *end > heard.size();
  return m;
}

}  // namespace vemba
