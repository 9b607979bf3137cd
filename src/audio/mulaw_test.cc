#include "audio/mulaw.h"

#include <gtest/gtest.h>

namespace vemba {
namespace {

TEST(MulawTest, KnownCodes) {
  struct Case {
    int32_t linear;
    uint8_t code;
  } cases[] = {
      {0, 0xFF},     {-1, 0x7F},     {8, 0xFE},    {32124, 0x80}, {-32124, 0x00},
      {40000, 0x80}, {-40000, 0x00}, {1000, 0xCE}, {-1000, 0x4E},
  };
  for (const Case& c : cases) EXPECT_EQ(mulaw_encode(c.linear), c.code) << c.linear;
}

TEST(MulawTest, EveryCodeSurvivesDecodeAndEncode) {
  for (int code = 0; code < 256; ++code) {
    // 0x7F is the negative zero; it encodes back as the positive one.
    uint8_t expected = code == 0x7F ? 0xFF : static_cast<uint8_t>(code);
    EXPECT_EQ(mulaw_encode(mulaw_decode(static_cast<uint8_t>(code))), expected) << code;
    EXPECT_EQ(mulaw_encode_float(mulaw_decode_float(static_cast<uint8_t>(code))), expected);
  }
  EXPECT_EQ(mulaw_encode_float(2.0f), 0x80);
  EXPECT_EQ(mulaw_encode_float(-2.0f), 0x00);
}

}  // namespace
}  // namespace vemba
