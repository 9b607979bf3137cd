#include "tools/pack_audit.h"

#include <gtest/gtest.h>

#include "audio/prompt_encode.h"
#include "signals.h"

namespace vemba {
namespace {

std::string le32(uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}

// A mu-law WAV header with a metadata chunk before the data, as converters
// write them.
std::string wav_header(size_t data_bytes) {
  std::string fmt =
      std::string("\x07\x00\x01\x00\x40\x1f\x00\x00\x40\x1f\x00\x00\x01\x00\x08\x00", 16);
  std::string list = "INFOISFT" + le32(14) + "Lavf59.27.100";
  list += '\0';
  return "RIFF" + le32(static_cast<uint32_t>(4 + 24 + 8 + list.size() + 8 + data_bytes)) + "WAVE" +
         "fmt " + le32(16) + fmt + "LIST" + le32(static_cast<uint32_t>(list.size())) + list +
         "data" + le32(static_cast<uint32_t>(data_bytes));
}

std::string prompt_at(double dbm0) {
  return encode_prompt(test::speech_like(8000, 1.5, 0.05), dbm0).value().bytes;
}

TEST(PackAuditTest, EachFaultIsFlaggedAndNothingElse) {
  const std::string good = prompt_at(-19);
  std::string clipped = good;
  clipped.replace(4000, 8, "\x80\x80\x80\x80\x00\x00\x00\x00");
  struct Case {
    std::string name;
    std::string bytes;
    std::string flags;
  } cases[] = {
      {"a_good", good, ""},
      {"b_good", good, ""},
      {"c_2db_quiet", prompt_at(-21), ""},
      {"riff_header", wav_header(good.size()) + good, "header:RIFF"},
      {"clipped", clipped, "clipped"},
      // Cut in the middle of a burst: no padding for the trim to take.
      {"speech_to_the_end", good.substr(0, 4000), "cut"},
      {"too_quiet", prompt_at(-22.5), "level:-3.5"},
      {"late_start", std::string(3200, '\xFF') + good, "lead"},
      {"short", std::string(150, '\x10'), "short"},
      {"silence", std::string(2550, '\xFF'), ""},
  };
  std::vector<PackRecording> recordings;
  for (const Case& c : cases) recordings.push_back({c.name, c.name + ".raw", c.bytes});
  PackAudit audit = audit_pack(recordings, {"not_recorded"});

  ASSERT_EQ(audit.rows.size(), std::size(cases) + 1);
  EXPECT_NEAR(audit.median_level_dbm0.value(), -19, 0.1);
  for (const AuditRow& row : audit.rows) {
    std::string flags;
    for (const AuditFlag& f : row.flags) {
      flags += (flags.empty() ? "" : " ") + f.name + (f.detail.empty() ? "" : ":" + f.detail);
    }
    std::string expected = "missing";
    for (const Case& c : cases) {
      if (c.name == row.name) expected = c.flags;
    }
    EXPECT_EQ(flags, expected) << row.name;
  }
  EXPECT_EQ(audit.recordings, std::size(cases));
  EXPECT_EQ(audit.missing, 1u);
  EXPECT_EQ(audit.errors, 5u);  // header, clipped, cut, short, missing
  EXPECT_EQ(audit.warnings, 2u);
}

TEST(PackAuditTest, MeasuresBehindAHeaderAreOfTheSamples) {
  const std::string good = prompt_at(-19);
  PromptMeasures plain = measure_prompt(good);
  PromptMeasures behind = measure_prompt(wav_header(good.size()) + good);
  EXPECT_EQ(header_length(wav_header(good.size()) + good), wav_header(0).size());
  EXPECT_NEAR(behind.level_dbm0.value(), plain.level_dbm0.value(), 1e-9);
  EXPECT_EQ(behind.leading_silence_ms, plain.leading_silence_ms);
  EXPECT_GT(behind.seconds, plain.seconds);  // the header plays too
}

}  // namespace
}  // namespace vemba
