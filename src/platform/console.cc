#include "platform/console.h"

#include <cstdio>

namespace vemba {

void StdoutConsole::write(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace vemba
