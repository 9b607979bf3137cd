// Identifiers that no other process on the machine picks at the same time.
#pragma once

#include <string>

namespace vemba {

/// 32 lower-case hex digits from the kernel's random source; empty when it
/// cannot be read.
std::string unique_id();

}  // namespace vemba
