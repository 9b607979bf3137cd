#include "audio/prompt_encode.h"

#include <gtest/gtest.h>

#include "audio/prompt_audio.h"
#include "audio/prompt_measure.h"
#include "audio/speech_level.h"
#include "signals.h"

namespace vemba {
namespace {

TEST(PromptEncodeTest, SpeechLandsOnTheTargetLevel) {
  struct Case {
    double rms;
    std::optional<double> target;
  } cases[] = {{0.002, -19}, {0.5, -19}, {0.05, -26}, {0.05, std::nullopt}};
  for (const Case& c : cases) {
    std::vector<float> speech = test::speech_like(kPromptRate, 2, c.rms);
    std::optional<EncodedPrompt> prompt = encode_prompt(speech, c.target);
    ASSERT_TRUE(prompt) << c.rms;
    double expected = c.target.value_or(active_speech_level(speech, kPromptRate).value());
    PromptMeasures m = measure_prompt(prompt->bytes);
    EXPECT_NEAR(m.level_dbm0.value(), expected, 0.5) << c.rms;
    EXPECT_NEAR(prompt->level_dbm0, expected, 0.5) << c.rms;
    EXPECT_FALSE(prompt->peak_limited) << c.rms;
  }
}

TEST(PromptEncodeTest, APeakStopsTheGainAtTheCeiling) {
  std::vector<float> speech = test::speech_like(kPromptRate, 2, 0.01);
  speech[1000] = 0.5f;
  std::optional<EncodedPrompt> prompt = encode_prompt(speech, -19);
  ASSERT_TRUE(prompt);
  EXPECT_TRUE(prompt->peak_limited);
  EXPECT_NEAR(prompt->peak_dbfs, kPeakCeilingDbfs, 1e-9);
  EXPECT_LT(prompt->level_dbm0, -19 - 3);
  EXPECT_LE(measure_prompt(prompt->bytes).peak_dbfs, kPeakCeilingDbfs + 0.1);
}

TEST(PromptEncodeTest, SilenceIsTrimmedToTheMarginAndThePaddingAdded) {
  std::vector<float> speech = test::speech_like(kPromptRate, 1, 0.05);
  std::vector<float> padded(kPromptRate, 0.0f);
  padded.insert(padded.end(), speech.begin(), speech.end());
  padded.resize(padded.size() + kPromptRate, 0.0f);
  std::optional<EncodedPrompt> prompt = encode_prompt(padded, -19);
  ASSERT_TRUE(prompt);
  // The last burst ends at 0.9 s; the pause after it is trimmed too.
  size_t heard = prompt->bytes.size() - kPromptTrim;
  EXPECT_GT(heard, kPromptRate * 0.9);
  EXPECT_LE(heard, kPromptRate * 0.9 + 2 * kTrimMarginSamples);
  EXPECT_EQ(prompt->bytes.substr(heard), std::string(kPromptTrim, '\xFF'));
  PromptMeasures m = measure_prompt(prompt->bytes);
  EXPECT_NEAR(m.leading_silence_ms.value(), 25, 1);
  EXPECT_FALSE(m.sound_in_trim);
}

TEST(PromptEncodeTest, SilentSamplesGiveNothing) {
  EXPECT_FALSE(encode_prompt(std::vector<float>(8000, 0.0f), -19));
  EXPECT_FALSE(encode_prompt(test::speech_like(kPromptRate, 1, from_db(-75)), -19));
  EXPECT_FALSE(encode_prompt({}, -19));
}

}  // namespace
}  // namespace vemba
