#include "front/paths.h"

namespace vemba {

std::string with_separator(std::string_view dir) {
  std::string result(dir);
  if (!result.empty() && result.back() != '\\') result += '\\';
  return result;
}

std::string language_dir_path(std::string_view lpdat, std::string_view code, std::string_view id) {
  std::string root = lpdat.empty() ? "\\" : with_separator(lpdat);
  return root + std::string(code) + "_" + std::string(id) + "_bin\\";
}

}  // namespace vemba
