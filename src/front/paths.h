// The paths a request derives from its settings. Separators are written as
// "\", as the settings themselves use them.
#pragma once

#include <string>
#include <string_view>

namespace vemba {

/// dir with a final "\" added, unless it is empty or already ends in one.
std::string with_separator(std::string_view dir);

/// The directory of a pack's recordings, `<lpdat>\<code>_<id>_bin\` (an empty
/// lpdat gives the root, "\").
std::string language_dir_path(std::string_view lpdat, std::string_view code, std::string_view id);

}  // namespace vemba
