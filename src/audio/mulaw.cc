#include "audio/mulaw.h"

#include <bit>
#include <cmath>

namespace vemba {

namespace {

constexpr int32_t kBias = 0x84;
// Magnitudes above this all take the top code.
constexpr int32_t kClip = 32635;

}  // namespace

uint8_t mulaw_encode(int32_t linear) {
  int32_t sign = linear < 0 ? 0x80 : 0;
  int32_t magnitude = linear < 0 ? -linear : linear;
  if (magnitude > kClip) magnitude = kClip;
  magnitude += kBias;
  // The segment is the position of the highest set bit above bit 7.
  int32_t segment = std::bit_width(static_cast<uint32_t>(magnitude >> 7));
  if (segment > 0) --segment;
  int32_t mantissa = (magnitude >> (segment + 3)) & 0x0F;
  return static_cast<uint8_t>(~(sign | (segment << 4) | mantissa));
}

int16_t mulaw_decode(uint8_t code) {
  uint8_t u = static_cast<uint8_t>(~code);
  int32_t t = (((u & 0x0F) << 3) + kBias) << ((u & 0x70) >> 4);
  return static_cast<int16_t>((u & 0x80) ? kBias - t : t - kBias);
}

uint8_t mulaw_encode_float(float sample) {
  float scaled = std::nearbyint(sample * 32768.0f);
  if (!(scaled < 32767.0f)) scaled = 32767.0f;  // also catches NaN
  if (scaled < -32768.0f) scaled = -32768.0f;
  return mulaw_encode(static_cast<int32_t>(scaled));
}

}  // namespace vemba
