// Generated test signals (1.0 = full scale) and sound files made of them.
#pragma once

#include <string>
#include <vector>

namespace vemba::test {

/// A sine of the given peak amplitude, faded in and out over fade seconds
/// (an abrupt start or end is a click, heard at every frequency).
std::vector<float> tone(int rate, double hz, double seconds, double amplitude, double fade = 0);

/// Syllable-like bursts, 200 ms of a 150 Hz harmonic sound under a raised
/// cosine every 350 ms, silent between; the bursts' RMS is rms.
std::vector<float> speech_like(int rate, double seconds, double rms);

/// Writes interleaved samples as a sound file; format is a libsndfile
/// SF_FORMAT_* combination.
void write_sound(const std::string& path, const std::vector<float>& samples, int rate, int channels,
                 int format);

/// The samples of a mu-law byte string.
std::vector<float> decode(const std::string& mulaw);

}  // namespace vemba::test
