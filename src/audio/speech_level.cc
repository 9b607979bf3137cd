#include "audio/speech_level.h"

#include <array>
#include <cmath>
#include <limits>

namespace vemba {

namespace {

// G.711's reference: a sine whose peaks reach the mu-law overload point
// (8159 of 8192 on the coder's 14-bit scale) is +3.17 dBm0, so the
// digital milliwatt (0 dBm0) is 3.17 dB below that sine.
constexpr double kOverloadSineDbm0 = 3.17;
const double kOverloadSineRmsDb = 20 * std::log10(8159.0 / 8192.0 / std::sqrt(2.0));

// P.56 method B: envelope time constant, hangover and margin.
constexpr double kEnvelopeSeconds = 0.03;
constexpr double kHangoverSeconds = 0.2;
constexpr double kMarginDb = 15.9;
// Thresholds 2^-15 .. 2^0 of full scale, a 6 dB ladder over the 16-bit range.
constexpr int kThresholds = 16;

}  // namespace

double dbm0_from_rms_db(double rms_db) { return rms_db - kOverloadSineRmsDb + kOverloadSineDbm0; }

double to_db(double value) {
  return value > 0 ? 20 * std::log10(value) : -std::numeric_limits<double>::infinity();
}

double from_db(double db) { return std::pow(10.0, db / 20); }

float peak_of(std::span<const float> samples) {
  float peak = 0;
  for (float x : samples) peak = std::max(peak, std::fabs(x));
  return peak;
}

std::optional<double> active_speech_level(std::span<const float> samples, int rate) {
  const double g = std::exp(-1.0 / (rate * kEnvelopeSeconds));
  const long hangover = std::lround(kHangoverSeconds * rate);
  std::array<double, kThresholds> threshold;
  for (int j = 0; j < kThresholds; ++j) threshold[j] = std::ldexp(1.0, j - 15);
  std::array<long, kThresholds> active{}, hang{};
  double energy = 0, p = 0, q = 0;
  for (float x : samples) {
    energy += double(x) * x;
    // Two one-pole smoothings of the magnitude make the envelope.
    p = g * p + (1 - g) * std::fabs(x);
    q = g * q + (1 - g) * p;
    for (int j = 0; j < kThresholds; ++j) {
      if (q >= threshold[j]) {
        ++active[j];
        hang[j] = 0;
      } else if (hang[j] < hangover) {
        ++active[j];
        ++hang[j];
      }
    }
  }
  if (energy <= 0 || active[0] == 0) return std::nullopt;
  // For each threshold, the level over what counts as active there; the
  // answer is where that level lies the margin above its threshold.
  auto level_db = [&](int j) { return 10 * std::log10(energy / active[j]); };
  auto excess = [&](int j) { return level_db(j) - to_db(threshold[j]) - kMarginDb; };
  double level = level_db(0);
  for (int j = 1; j < kThresholds && active[j] > 0 && excess(0) > 0; ++j) {
    double above = excess(j - 1), here = excess(j);
    if (here > 0) {
      level = level_db(j);
      continue;
    }
    double t = above / (above - here);
    level = level_db(j - 1) + t * (level_db(j) - level_db(j - 1));
    break;
  }
  return dbm0_from_rms_db(level);
}

}  // namespace vemba
