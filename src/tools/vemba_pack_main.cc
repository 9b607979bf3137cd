// vemba_pack COMMAND [ARGS...]: tools for language pack authors.
#include <cstdio>
#include <exception>

#include "tools/pack_commands.h"

namespace {

class StderrConsole : public vemba::Console {
 public:
  void write(std::string_view text) override { std::fwrite(text.data(), 1, text.size(), stderr); }
};

}  // namespace

int main(int argc, char** argv) {
  vemba::PosixFileSystem fs;
  vemba::SystemClock clock;
  vemba::StdoutConsole out;
  StderrConsole err;
  vemba::PackEnv env{fs, clock, out, err};
  int status = 1;
  try {
    status = vemba::vemba_pack_main(argc, argv, env);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vemba_pack: unexpected failure: %s\n", e.what());
    status = 1;
  }
  std::fflush(stdout);
  return status;
}
