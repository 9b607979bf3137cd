// vemba_pack explain CONFIG_DIR MESSAGE: how a deployment's pack translates
// one message (rule, values, prompt entries) and which recordings are missing.
#pragma once

#include <cstdint>
#include <string>

namespace vemba {

/// The name of a variable kind as a rules file writes it ("VAR_TIME"), or
/// "kind N" for a code without one.
std::string var_type_name(int32_t type);

}  // namespace vemba
