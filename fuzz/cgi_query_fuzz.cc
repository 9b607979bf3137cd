// Feeds arbitrary bytes to the web query parser and checks that whatever it
// accepts is safe to hand to a request.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tools/cgi_query.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

void check_value(const std::string& value, size_t input_size) {
  check(value.size() <= input_size);
  for (char c : value) {
    unsigned char u = static_cast<unsigned char>(c);
    check(u >= 0x20 && u != 0x7F);
  }
}

void check_value(const std::optional<std::string>& value, size_t input_size) {
  if (value) check_value(*value, input_size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  vemba::CgiQuery query;
  std::string error;
  if (!vemba::parse_cgi_query(input, &query, &error)) {
    check(!error.empty() && error.find('\n') == std::string::npos);
    return 0;
  }
  check(error.empty());
  check_value(query.message, size);
  check_value(query.language_id, size);
  check_value(query.mode, size);
  check_value(query.language_system_name, size);
  check_value(query.script_type, size);
  return 0;
}
