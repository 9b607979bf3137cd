#include "signals.h"

#include <sndfile.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "audio/mulaw.h"

namespace vemba::test {

std::vector<float> tone(int rate, double hz, double seconds, double amplitude, double fade) {
  const double pi = std::numbers::pi;
  std::vector<float> out(static_cast<size_t>(seconds * rate));
  for (size_t i = 0; i < out.size(); ++i) {
    double edge = std::min(i, out.size() - 1 - i) / (fade * rate);
    double gain = edge < 1 ? 0.5 - 0.5 * std::cos(pi * edge) : 1;
    out[i] = static_cast<float>(gain * amplitude * std::sin(2 * pi * hz * i / rate));
  }
  return out;
}

std::vector<float> speech_like(int rate, double seconds, double rms) {
  const double pi = std::numbers::pi;
  const int harmonics = static_cast<int>(std::min(3400.0, rate / 2.0 - 100) / 150);
  std::vector<double> raw(static_cast<size_t>(seconds * rate));
  double energy = 0;
  size_t loud = 0;
  for (size_t i = 0; i < raw.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double in_burst = std::fmod(t, 0.35);
    if (in_burst >= 0.2) continue;
    double x = 0;
    // Quadratic phases keep the crest factor speech-like.
    for (int k = 1; k <= harmonics; ++k)
      x += std::sin(2 * pi * 150 * k * t + pi * k * k / harmonics) / k;
    raw[i] = x * (0.5 - 0.5 * std::cos(2 * pi * in_burst / 0.2));
    energy += raw[i] * raw[i];
    ++loud;
  }
  const double scale = rms / std::sqrt(energy / loud);
  std::vector<float> out(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) out[i] = static_cast<float>(raw[i] * scale);
  return out;
}

void write_sound(const std::string& path, const std::vector<float>& samples, int rate, int channels,
                 int format) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) throw std::runtime_error(path + ": " + sf_strerror(nullptr));
  // Integer formats get the float samples as they are, clipped only at the end.
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size() / channels));
  sf_close(file);
}

std::vector<float> decode(const std::string& mulaw) {
  std::vector<float> out;
  for (char c : mulaw) out.push_back(mulaw_decode_float(static_cast<uint8_t>(c)));
  return out;
}

}  // namespace vemba::test
