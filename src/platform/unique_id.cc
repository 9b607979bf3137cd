#include "platform/unique_id.h"

#include <sys/random.h>

#include <cstdint>

namespace vemba {

std::string unique_id() {
  uint8_t bytes[16];
  if (getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) return "";
  static const char kHex[] = "0123456789abcdef";
  std::string id;
  for (uint8_t b : bytes) {
    id += kHex[b >> 4];
    id += kHex[b & 15];
  }
  return id;
}

}  // namespace vemba
