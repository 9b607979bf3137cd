#include "audio/prompt_encode.h"

#include <algorithm>

#include "audio/mulaw.h"
#include "audio/prompt_audio.h"
#include "audio/prompt_measure.h"
#include "audio/speech_level.h"

namespace vemba {

std::optional<EncodedPrompt> encode_prompt(std::span<const float> samples,
                                           std::optional<double> target_dbm0) {
  float peak = peak_of(samples);
  if (to_db(peak) < kSilenceDbfs) return std::nullopt;
  // Trim before measuring, so the level describes what will be played.
  size_t first = first_sound(samples, peak).value_or(0);
  size_t end = end_of_sound(samples, peak).value_or(0);
  first -= std::min<size_t>(first, kTrimMarginSamples);
  end = std::min(samples.size(), end + kTrimMarginSamples);
  std::span<const float> kept = samples.subspan(first, end - first);

  std::optional<double> level = active_speech_level(kept, kPromptRate);
  if (!level) return std::nullopt;
  EncodedPrompt out;
  out.source_level_dbm0 = *level;
  double gain_db = target_dbm0 ? *target_dbm0 - *level : 0;
  if (target_dbm0 && to_db(peak) + gain_db > kPeakCeilingDbfs) {
    gain_db = kPeakCeilingDbfs - to_db(peak);
    out.peak_limited = true;
  }
  const float gain = static_cast<float>(from_db(gain_db));
  out.bytes.reserve(kept.size() + kPromptTrim);
  for (float x : kept) out.bytes.push_back(static_cast<char>(mulaw_encode_float(x * gain)));
  out.bytes.append(kPromptTrim, static_cast<char>(kMulawSilence));
  out.level_dbm0 = *level + gain_db;
  out.peak_dbfs = to_db(peak) + gain_db;
  return out;
}

}  // namespace vemba
