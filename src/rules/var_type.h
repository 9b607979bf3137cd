// Reading the kind and option of a variable tag such as <VAR_TIME|1>.
#pragma once

#include <cstdint>
#include <string_view>

#include "rules/rule_model.h"

namespace vemba {

/// The kind a tag names and the number after its "|".
struct VarTypeAndOption {
  int32_t type = VAR_UNDEFINED;
  int32_t option = 0;
};

/// The kind of a variable tag (VAR_UNDEFINED when no keyword occurs in it)
/// and its option (0 when it has none, and always for the number kinds).
VarTypeAndOption var_type_of(std::string_view tag);

}  // namespace vemba
