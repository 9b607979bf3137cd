// Feeds arbitrary messages to translate on the demo pack, in prompt mode,
// text mode and the modes between, and loads every prompt of the list: no
// file outside the language directory may ever be opened.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "audio/audio_buffer.h"
#include "audio/prompt_audio.h"
#include "base/log.h"
#include "memory_file_system.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "rules/rules_loader.h"
#include "translate/translator.h"

namespace {

constexpr const char* kLanguageDir = "/packs/en_1_bin/";

void check(bool condition) {
  if (!condition) __builtin_trap();
}

// The path as the OS resolves it: "\" and "/" separate, "." stays, ".."
// goes up (never above the root).
std::string resolved(std::string_view path) {
  std::vector<std::string> parts;
  std::string part;
  auto flush = [&] {
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    part.clear();
  };
  for (char c : path) {
    if (c == '/' || c == '\\') {
      flush();
    } else {
      part += c;
    }
  }
  flush();
  std::string result;
  for (const std::string& p : parts) result += "/" + p;
  return result;
}

// Every file opened must lie inside the language directory.
class CheckedFileSystem : public vemba::MemoryFileSystem {
 public:
  vemba::ReadStatus read_file(const std::string& path, std::string* out,
                              size_t max_bytes) override {
    check_inside(path);
    return MemoryFileSystem::read_file(path, out, max_bytes);
  }
  std::unique_ptr<vemba::ReadFile> open_read(const std::string& path,
                                             vemba::ReadStatus* status) override {
    check_inside(path);
    return MemoryFileSystem::open_read(path, status);
  }

 private:
  static void check_inside(const std::string& path) {
    std::string inside = resolved(kLanguageDir) + "/";
    std::string file = resolved(path);
    check(file.size() > inside.size() && file.compare(0, inside.size(), inside) == 0);
  }
};

// The demo pack as the request loads it: rules only, and rules with contents
// for text mode.
struct DemoPack {
  vemba::LanguageTable rules_only;
  vemba::LanguageTable with_contents;

  DemoPack() {
    vemba::PosixFileSystem fs;
    vemba::StringConsole console;
    vemba::FixedClock clock(0);
    vemba::Log log(console, clock);
    const std::string dir = std::string(VEMBA_SOURCE_DIR) + "/packs/en-us/";
    check(vemba::load_rules(fs, log, rules_only, dir + "rules.dat", dir + "contents.dat", 1, 0) ==
          1);
    check(vemba::load_rules(fs, log, with_contents, dir + "rules.dat", dir + "contents.dat", 1,
                            1) == 1);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const DemoPack pack;
  if (size < 5) return 0;
  static const int kModes[] = {0, 1, 2, -1};
  const int mode = kModes[data[0] & 3];
  // Dates are read against "now": any second of 1970 to 2106.
  int64_t now = 0;
  for (int i = 1; i < 5; ++i) now = now << 8 | data[i];
  std::string_view message(reinterpret_cast<const char*>(data) + 5, size - 5);

  vemba::StringConsole console;
  vemba::FixedClock clock(now);
  vemba::Log log(console, clock);
  log.set_level(vemba::TTS_LL_VERB);
  const vemba::LanguageTable& table = mode == 1 ? pack.with_contents : pack.rules_only;
  vemba::Translator translator(log, table, clock, now, message, 1, mode, "en-us");
  vemba::PromptList prompts = translator.translate();

  CheckedFileSystem fs;
  vemba::AudioBuffer audio;
  for (const std::string& prompt : prompts) {
    vemba::load_prompt(fs, log, console, audio, prompt, kLanguageDir);
  }
  return 0;
}
