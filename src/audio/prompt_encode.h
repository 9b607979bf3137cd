// Turns 8 kHz samples into the bytes of a prompt file: silence trimmed to a
// margin, the active speech level set, G.711 mu-law, and the padding the
// loader's 150-byte trim takes away.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace vemba {

/// The usual telephony target for prompts.
constexpr double kDefaultLevelDbm0 = -19;
/// No peak may pass this, whatever the level asks.
constexpr double kPeakCeilingDbfs = -1;
/// Sources whose peak stays below this are taken as silent.
constexpr double kSilenceDbfs = -60;
/// Silence kept before the first and after the last sound.
constexpr int kTrimMarginSamples = 200;  // 25 ms

struct EncodedPrompt {
  std::string bytes;          // mu-law samples, then kPromptTrim bytes of silence
  double source_level_dbm0;   // the active speech level as recorded
  double level_dbm0;          // and as encoded
  double peak_dbfs;           // as encoded
  bool peak_limited = false;  // the target would have put a peak past the ceiling
};

/// Encodes samples (1.0 = full scale, kPromptRate per second) as a prompt.
/// With a target level the gain brings the active speech level there unless a
/// peak would pass kPeakCeilingDbfs; then the gain stops at the ceiling.
/// Nothing when the samples are silent.
std::optional<EncodedPrompt> encode_prompt(std::span<const float> samples,
                                           std::optional<double> target_dbm0);

}  // namespace vemba
