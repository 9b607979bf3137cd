#include "audio/wav_writer.h"

#include <gtest/gtest.h>

#include "memory_file_system.h"

namespace vemba {
namespace {

std::string bytes_of(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

TEST(WaveHeader, Bytes) {
  struct Case {
    uint32_t n;
    std::string riff_size, count;
  } cases[] = {
      {0, bytes_of({50, 0, 0, 0}), bytes_of({0, 0, 0, 0})},
      {16000, bytes_of({0xB2, 0x3E, 0, 0}), bytes_of({0x80, 0x3E, 0, 0})},
      {9999998, bytes_of({0xB0, 0x96, 0x98, 0}), bytes_of({0x7E, 0x96, 0x98, 0})},
  };
  for (const Case& c : cases) {
    std::string expected = "RIFF" + c.riff_size + "WAVE" + "fmt " + bytes_of({18, 0, 0, 0}) +
                           bytes_of({0x07, 0x00, 0x01, 0x00, 0x40, 0x1F, 0x00, 0x00, 0x40, 0x1F,
                                     0x00, 0x00, 0x01, 0x00, 0x08, 0x00, 0x00, 0x00}) +
                           "fact" + bytes_of({4, 0, 0, 0}) + c.count + "data" + c.count;
    ASSERT_EQ(expected.size(), kWaveHeaderSize);
    EXPECT_EQ(wave_header(c.n), expected) << c.n;
  }
}

TEST(WaveFile, WritesHeaderAndSamples) {
  MemoryFileSystem fs;
  fs.add_dir("/tts");
  fs.add_file("/p/a.raw", "0123456789");
  fs.add_file("/p/b.raw", std::string(16000, '\x7f'));
  StringConsole console;
  ReadStatus status;
  std::shared_ptr<const ReadFile> a = fs.open_read("/p/a.raw", &status);
  std::shared_ptr<const ReadFile> b = fs.open_read("/p/b.raw", &status);
  // Segments as the prompt loader leaves them: the first bytes of each file.
  struct Case {
    std::vector<std::pair<std::shared_ptr<const ReadFile>, int32_t>> segments;
    std::string samples;
  } cases[] = {
      {{}, ""},
      {{{a, 1}}, "0"},
      {{{b, 16000}}, std::string(16000, '\x7f')},
      {{{a, 3}, {b, 2}, {a, 10}}, "012\x7f\x7f" "0123456789"},
  };
  for (const Case& c : cases) {
    AudioBuffer audio;
    for (const auto& [file, length] : c.segments) audio.append("", file, length);
    ASSERT_TRUE(write_wave_file(fs, console, audio, "\\tts\\sound42.wav"));
    std::string file = fs.contents("/tts/sound42.wav").value_or("");
    EXPECT_EQ(file.size(), 58 + c.samples.size());  // no pad byte after an odd data chunk
    EXPECT_EQ(file, wave_header(static_cast<uint32_t>(c.samples.size())) + c.samples);
  }
  // A second write replaces the first file, shorter content included.
  AudioBuffer audio;
  audio.append("/p/a.raw", a, 3);
  ASSERT_TRUE(write_wave_file(fs, console, audio, "/tts/sound42.wav"));
  EXPECT_EQ(fs.contents("/tts/sound42.wav"), wave_header(3) + "012");
  EXPECT_EQ(console.text(), "");
}

TEST(WaveFile, UncreatableFileLeavesAConsoleMessage) {
  MemoryFileSystem fs;
  StringConsole console;
  AudioBuffer audio;
  std::string path = "\\tts\\missing\\sound1.wav";
  EXPECT_FALSE(write_wave_file(fs, console, audio, path));
  EXPECT_EQ(console.text(), "\nERROR!! UNABLE to OPEN File [" + path + "]\n");
  EXPECT_FALSE(fs.exists("/tts/missing"));
}

}  // namespace
}  // namespace vemba
