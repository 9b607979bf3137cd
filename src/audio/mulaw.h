// G.711 mu-law, the sample form of every prompt file.
#pragma once

#include <cstdint>

namespace vemba {

/// The byte of mu-law silence; prompts are padded with it.
constexpr uint8_t kMulawSilence = 0xFF;
/// The two codes at the ends of the scale (+-32124): a sample there reached
/// the coder's overload point.
constexpr uint8_t kMulawMaxPositive = 0x80;
constexpr uint8_t kMulawMaxNegative = 0x00;

/// Encodes a 16-bit linear sample.
uint8_t mulaw_encode(int32_t linear);

/// Decodes a mu-law byte to a 16-bit linear sample.
int16_t mulaw_decode(uint8_t code);

/// Encodes a sample where 1.0 is 16-bit full scale (32768), clamped to it.
uint8_t mulaw_encode_float(float sample);

/// Decodes to the scale where 1.0 is 16-bit full scale.
inline float mulaw_decode_float(uint8_t code) { return mulaw_decode(code) / 32768.0f; }

}  // namespace vemba
