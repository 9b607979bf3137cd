// Test helper: the prompt names of a builder's output, one blank apart, so
// that tests compare names and not the blanks between them.
#pragma once

#include <sstream>
#include <string>

namespace vemba::test {

/// The blank-separated names of text joined by single blanks.
inline std::string names(const std::string& text) {
  std::istringstream in(text);
  std::string name;
  std::string joined;
  while (in >> name) joined += (joined.empty() ? "" : " ") + name;
  return joined;
}

}  // namespace vemba::test
