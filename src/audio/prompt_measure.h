// What a prompt file will sound like when the loader plays it: the measures
// vemba_pack audit reports, taken from the file's bytes alone.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vemba {

/// Samples per second of every prompt.
constexpr int kPromptRate = 8000;
/// A sample counts as sound when it is within this many dB of the peak.
constexpr double kSoundBelowPeakDb = 45;

/// Index of the first / one past the last sample within kSoundBelowPeakDb of
/// peak; nothing when there is none.
std::optional<size_t> first_sound(std::span<const float> samples, float peak);
std::optional<size_t> end_of_sound(std::span<const float> samples, float peak);

/// The container mark a file starts with ("RIFF", "FORM", "OggS", "ID3",
/// "fLaC", ...), or "" when it starts with none. The loader would play such a
/// header as samples.
std::string_view header_mark(std::string_view bytes);

/// Where the samples start behind a header whose layout is known (the data
/// chunk of RIFF and AIFF files, the data offset of Sun audio); 0 otherwise.
size_t header_length(std::string_view bytes);

struct PromptMeasures {
  size_t bytes = 0;
  std::string header;  // the header mark, "" for none
  double seconds = 0;  // play time: the bytes the 150-byte trim leaves
  // The rest describe the samples behind the header that play.
  std::optional<double> level_dbm0;          // active speech level; nothing for silence
  double peak_dbfs = 0;                      // -infinity for silence
  size_t clipped = 0;                        // samples on the two end codes
  double dc_percent = 0;                     // mean as a percentage of full scale
  std::optional<double> leading_silence_ms;  // nothing when nothing sounds
  bool sound_in_trim = false;                // sound in the last 150 bytes, which are cut
};

/// Measures the bytes of one headerless 8 kHz mu-law prompt file.
PromptMeasures measure_prompt(std::string_view bytes);

}  // namespace vemba
