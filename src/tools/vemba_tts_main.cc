// vemba_tts CONFIG_DIR LANGUAGE_ID MESSAGE MODE LANGUAGE_SYSTEM_NAME PAGE_NAME
//           SCRIPT_TYPE BASE_URL
#include <cstdio>
#include <exception>
#include <string_view>

#include "front/entry.h"
#include "tools/version.h"

namespace {

constexpr const char* kUsage =
    "usage: vemba_tts CONFIG_DIR LANGUAGE_ID MESSAGE MODE LANGUAGE_SYSTEM_NAME PAGE_NAME\n"
    "                 SCRIPT_TYPE BASE_URL\n"
    "       vemba_tts --help | -h | --version\n"
    "\n"
    "Turns MESSAGE into a WAV file of recorded prompts under the web root named\n"
    "in CONFIG_DIR/tts_vemba.cfg and writes the response page PAGE_NAME (result\n"
    "followed by an identifier) for SCRIPT_TYPE VXML or HTML; the page points at\n"
    "the sound as BASE_URL followed by its path below the web root. MODE 0 gives\n"
    "recordings, 1 the written texts of the prompts.\n"
    "\n"
    "Exit status 0: the request was refused before a page was attempted (the\n"
    "reason is on standard output); 1: a page was written, and its success or\n"
    "failure variant tells the outcome.\n";

}  // namespace

int main(int argc, char** argv) {
  // Only a lone option asks for help; any other count is a request and gets
  // the request's own refusal.
  if (argc == 2) {
    std::string_view arg = argv[1];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("vemba_tts %s\n", vemba::kVembaVersion);
      return 0;
    }
  }
  vemba::PosixFileSystem fs;
  vemba::SystemClock clock;
  vemba::StdoutConsole console;
  int status = 0;
  try {
    status = vemba::vemba_tts_main(argc, argv, fs, clock, console);
  } catch (const std::exception& e) {
    std::printf("ERROR !! unexpected failure: %s\n", e.what());
    status = 0;
  }
  std::fflush(stdout);
  return status;
}
