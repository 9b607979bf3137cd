// A pack author's recording, read for import: any format libsndfile reads,
// mixed to mono and resampled to the prompt rate with soxr. The only code
// that uses those libraries, so vemba_tts never links them.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vemba {

/// Sources longer than this are refused before they are read.
constexpr double kMaxSourceSeconds = 600;

/// Reads the recording at path as mono samples at kPromptRate (1.0 = full
/// scale). False with *error saying why (without the path) when it is
/// missing, empty, not a recording, too long, or holds samples that are not
/// numbers.
bool read_recording(FileSystem& fs, const std::string& path, std::vector<float>* samples,
                    std::string* error);

}  // namespace vemba
