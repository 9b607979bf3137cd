// The request run: start-up, request, response page and finish, in order.
#pragma once

#include "front/context.h"
#include "front/settings.h"

namespace vemba {

/// Channel count, log file, channel schedule, pack identity and rules; false
/// when the request cannot run.
bool tts_startup(Context& ctx, int mode);

/// Translation, prompt audio, pacing and the WAV file; false when the request
/// failed (the reason is logged).
bool tts_process_request(Context& ctx, const Request& request);

/// Empties the audio, closes the log and configuration, sweeps old files and
/// empties the language table.
void tts_finish(Context& ctx);

/// Runs an accepted request to its end; returns the process exit status:
/// 1 when a response page was written, 0 when there is none (start-up failed
/// or the page could not be written).
int tts_run(Context& ctx, const Request& request);

}  // namespace vemba
