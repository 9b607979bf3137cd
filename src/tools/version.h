// The release of the programs, shown by their --version.
#pragma once

namespace vemba {

constexpr const char* kVembaVersion = "1.0.0";

}  // namespace vemba
