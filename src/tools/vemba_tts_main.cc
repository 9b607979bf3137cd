// vemba_tts CONFIG_DIR LANGUAGE_ID MESSAGE MODE LANGUAGE_SYSTEM_NAME PAGE_NAME
//           SCRIPT_TYPE BASE_URL
#include <cstdio>
#include <exception>

#include "front/entry.h"

int main(int argc, char** argv) {
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
