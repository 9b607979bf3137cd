// How loud a prompt sounds: the active speech level measured in the manner
// of ITU-T P.56 (method B), in dBm0, and the peak in dBFS. Samples are
// floats where 1.0 is 16-bit full scale.
#pragma once

#include <optional>
#include <span>

namespace vemba {

/// dBm0 of a signal whose RMS is rms_db dB relative to full scale.
double dbm0_from_rms_db(double rms_db);

/// The active speech level of 8 kHz (or other rate) samples in dBm0:
/// the RMS over the stretches an envelope detector finds active, with the
/// activity threshold 15.9 dB below that level. Nothing when no sample is
/// active (silence).
std::optional<double> active_speech_level(std::span<const float> samples, int rate);

/// The largest magnitude.
float peak_of(std::span<const float> samples);

/// 20 log10(value); -infinity for 0.
double to_db(double value);
/// The amplitude of a level in dB.
double from_db(double db);

}  // namespace vemba
