// vemba_pack import run in process on a temporary pack, with sources written
// by libsndfile from generated signals.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <filesystem>

#include "audio/prompt_audio.h"
#include "audio/prompt_measure.h"
#include "audio/speech_level.h"
#include "deployment.h"
#include "signals.h"
#include "tools/pack_commands.h"
#include "tools/pack_recording.h"

namespace vemba {
namespace {

// Refuses every write into the pack.
class ReadOnlyFileSystem : public PosixFileSystem {
 public:
  std::unique_ptr<AtomicFile> create_atomic(const std::string&, Replace) override {
    return nullptr;
  }
};

class PackImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pack_.write_config();
    pack_.write_rules("<LANGUAGE>\nMSGS <VAR_NUMBER_EN> : you_have.wav #1\n");
  }

  int import(std::vector<std::string> args, FileSystem* fs = nullptr) {
    args.insert(args.begin(), {"vemba_pack", "import"});
    args.push_back(pack_.config_dir());
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    out_.clear();
    err_.clear();
    PackEnv env{fs ? *fs : fs_, clock_, out_, err_};
    return vemba_pack_main(static_cast<int>(argv.size()), argv.data(), env);
  }
  std::string source(const std::string& name) const { return sources_.file(name); }
  std::string stored(const std::string& name) const {
    StringConsole unused;
    return test::read_file(pack_.language_dir() + prompt_data_name(unused, name).value() + ".dat");
  }

  test::Deployment pack_;
  test::TempDir sources_;
  PosixFileSystem fs_;
  FixedClock clock_{0};
  StringConsole out_, err_;
};

constexpr int kWav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;

TEST_F(PackImportTest, AToneKeepsItsFrequency) {
  test::write_sound(source("you_have.wav"), test::tone(44100, 1000, 1, 0.5), 44100, 1, kWav16);
  ASSERT_EQ(import({source("you_have.wav")}), 0) << err_.text();
  std::string bytes = stored("you_have");
  ASSERT_GT(bytes.size(), 7000u);
  EXPECT_EQ(bytes.substr(bytes.size() - kPromptTrim), std::string(kPromptTrim, '\xFF'));
  std::vector<float> heard = test::decode(bytes.substr(0, bytes.size() - kPromptTrim));
  int crossings = 0;
  for (size_t i = 1; i < heard.size(); ++i) crossings += (heard[i - 1] < 0) != (heard[i] < 0);
  EXPECT_NEAR(crossings / 2.0 / (heard.size() / 8000.0), 1000, 5);
}

TEST_F(PackImportTest, FiveKilohertzIsRemovedWithoutAlias) {
  test::write_sound(source("high.wav"), test::tone(44100, 5000, 1, 0.5, 0.05), 44100, 1, kWav16);
  std::vector<float> samples;
  std::string error;
  ASSERT_TRUE(read_recording(fs_, source("high.wav"), &samples, &error)) << error;
  ASSERT_NEAR(samples.size(), 8000u, 10);
  // Nothing is left anywhere below 4 kHz, 3 kHz (the alias) included.
  double energy = 0;
  for (float x : samples) energy += x * x;
  EXPECT_LT(to_db(std::sqrt(energy / samples.size())), to_db(0.5 / std::sqrt(2)) - 50);
}

TEST_F(PackImportTest, SourcesOfEveryKindLandOnTheTarget) {
  struct Case {
    const char* file;
    int rate, channels, format;
    double rms;
  } cases[] = {
      {"1.wav", 44100, 1, kWav16, 0.002},
      {"2.flac", 48000, 2, SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 0.25},
      {"3.wav", 96000, 8, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0.05},
      {"4.ogg", 22050, 1, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 0.1},
  };
  std::vector<std::string> sources = {"--level", "-21"};
  for (const Case& c : cases) {
    std::vector<float> mono = test::speech_like(c.rate, 1.5, c.rms);
    std::vector<float> frames;
    for (float x : mono) frames.insert(frames.end(), c.channels, x);
    test::write_sound(source(c.file), frames, c.rate, c.channels, c.format);
    sources.push_back(source(c.file));
  }
  ASSERT_EQ(import(sources), 0) << err_.text();
  EXPECT_EQ(err_.text(),
            "vemba_pack import: 4 of 4 recordings imported into " + pack_.language_dir() + "\n");
  for (const char* name : {"1", "2", "3", "4"}) {
    PromptMeasures m = measure_prompt(stored(name));
    EXPECT_NEAR(m.level_dbm0.value(), -21, 0.5) << name;
    EXPECT_LE(m.peak_dbfs, -1) << name;
  }
}

TEST_F(PackImportTest, BadSourcesLeaveTheirPromptsAsTheyWere) {
  test::write_file(source("text.wav"), "not a sound");
  test::write_file(source("empty.wav"), "");
  test::write_sound(source("no_frames.wav"), {}, 8000, 1, kWav16);
  test::write_sound(source("silent.wav"), std::vector<float>(8000, 0.0f), 8000, 1, kWav16);
  test::write_sound(source("above_band.wav"), test::tone(44100, 5000, 1, 0.5, 0.05), 44100, 1,
                    kWav16);
  // Two hours at ten samples a second.
  test::write_sound(source("two_hours.wav"), std::vector<float>(72000, 0.1f), 10, 1, kWav16);
  std::vector<float> nan = test::tone(8000, 440, 1, 0.5);
  nan[100] = std::nanf("");
  test::write_sound(source("nan.wav"), nan, 8000, 1, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  const std::pair<const char*, const char*> cases[] = {
      {"text.wav", "not a recording libsndfile can read"},
      {"empty.wav", "empty file"},
      {"no_frames.wav", "holds no audio"},
      {"silent.wav", "silent: nothing above -60 dBFS in the telephone band"},
      {"above_band.wav", "silent: nothing above -60 dBFS in the telephone band"},
      {"two_hours.wav", "lasts 2:00:00; a prompt may last at most 0:10:00"},
      {"nan.wav", "holds samples that are not numbers (NaN or infinity)"},
      {"absent.wav", "no such file"},
  };
  std::vector<std::string> sources;
  for (const auto& [file, message] : cases) {
    sources.push_back(source(file));
    pack_.add_stored_prompt(std::filesystem::path(file).stem(), "kept");
  }
  EXPECT_EQ(import(sources), 1);
  for (const auto& [file, message] : cases) {
    std::string line = "vemba_pack import: " + source(file) + ": " + message;
    EXPECT_NE(err_.text().find(line), std::string::npos) << line << "\n" << err_.text();
    EXPECT_EQ(stored(std::filesystem::path(file).stem()), "kept") << file;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(pack_.language_dir()), {}),
            std::ssize(cases));
}

TEST_F(PackImportTest, NamesFormsAndAPackThatCannotBeWritten) {
  const std::vector<float> speech = test::speech_like(8000, 1, 0.05);
  const std::string long_name(50, 'n');
  for (const std::string& name :
       {std::string("you_have"), std::string("greeting"), std::string("a\\b"), long_name}) {
    test::write_sound(source(name + ".wav"), speech, 8000, 1, kWav16);
  }
  pack_.add_stored_prompt("you_have", "kept");
  ReadOnlyFileSystem read_only;
  EXPECT_EQ(import({source("you_have.wav")}, &read_only), 1);
  EXPECT_NE(err_.text().find("8y4_rk5o.dat cannot be written (is the directory writable?); "
                             "'you_have' is as it was"),
            std::string::npos)
      << err_.text();
  EXPECT_EQ(stored("you_have"), "kept");

  EXPECT_EQ(
      import({"--raw", source("you_have.wav"), source("greeting.wav"), source(long_name + ".wav")}),
      0);
  EXPECT_TRUE(test::file_exists(pack_.language_dir() + long_name + ".raw"));
  for (const std::string& warning : std::vector<std::string>{
           "/you_have.wav: warning: " + pack_.language_dir() + "8y4_rk5o.dat exists",
           "/greeting.wav: warning: 'greeting' is a name the rules and builders never ask for",
       }) {
    EXPECT_NE(err_.text().find(warning), std::string::npos) << warning << "\n" << err_.text();
  }
  EXPECT_EQ(import({source("a\\b.wav"), source(long_name + ".wav")}), 1);
  EXPECT_NE(err_.text().find("'a\\b' would name a file outside the language directory"),
            std::string::npos);
  EXPECT_NE(err_.text().find("names of 50 or more have no stored form, import it with --raw"),
            std::string::npos);
}

}  // namespace
}  // namespace vemba
