// The request run: start-up, request, response page and finish, in order.
#pragma once

#include "front/context.h"
#include "front/settings.h"

namespace vemba {

/// Runs an accepted request to its end; returns the process exit status
/// (0 when start-up failed, 1 once a response page was attempted).
int tts_run(Context& ctx, const Request& request);

}  // namespace vemba
