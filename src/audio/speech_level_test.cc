#include "audio/speech_level.h"

#include <gtest/gtest.h>

#include <cmath>

#include "signals.h"

namespace vemba {
namespace {

TEST(SpeechLevelTest, SinesAgainstTheDbm0Reference) {
  // A sine whose peaks reach the mu-law overload point (8159/8192) is
  // +3.17 dBm0; the digital milliwatt is 3.17 dB below it.
  const double overload = 8159.0 / 8192.0;
  struct Case {
    double amplitude;
    double dbm0;
  } cases[] = {
      {overload, 3.17},
      {overload / from_db(3.17), 0},
      {overload / from_db(3.17 + 19), -19},
  };
  for (const Case& c : cases) {
    std::optional<double> level = active_speech_level(test::tone(8000, 1000, 2, c.amplitude), 8000);
    ASSERT_TRUE(level) << c.amplitude;
    EXPECT_NEAR(*level, c.dbm0, 0.05) << c.amplitude;
  }
}

TEST(SpeechLevelTest, PausesDoNotLowerTheActiveLevel) {
  std::vector<float> speech = test::speech_like(8000, 3, 0.05);
  std::vector<float> paused = speech;
  paused.insert(paused.begin(), 16000, 0.0f);
  paused.resize(paused.size() + 16000, 0.0f);
  double level = active_speech_level(speech, 8000).value();
  // Only the hangover after the last burst is added.
  EXPECT_NEAR(active_speech_level(paused, 8000).value(), level, 0.75);
  // Mean square over everything, pauses included, says much less.
  double energy = 0;
  for (float x : paused) energy += x * x;
  EXPECT_LT(dbm0_from_rms_db(10 * std::log10(energy / paused.size())), level - 3);
}

TEST(SpeechLevelTest, SilenceHasNoLevel) {
  EXPECT_FALSE(active_speech_level(std::vector<float>(8000, 0.0f), 8000));
  EXPECT_FALSE(active_speech_level({}, 8000));
}

}  // namespace
}  // namespace vemba
