// The request's sound file: RIFF WAVE, 8,000 Hz, 8-bit mu-law, one channel,
// with a fact chunk.
#pragma once

#include <cstdint>
#include <string>

#include "audio/audio_buffer.h"
#include "platform/console.h"
#include "platform/file_system.h"

namespace vemba {

/// Size of the header in front of the samples.
constexpr size_t kWaveHeaderSize = 58;

/// The 58 header bytes for a file of sample_count samples.
std::string wave_header(uint32_t sample_count);

/// Writes the buffer as a WAV file, replacing any file at path, so that a
/// reader never sees a partial file. False, with a console message, when the
/// file could not be written whole (an earlier file of the name may be gone).
bool write_wave_file(FileSystem& fs, Console& console, const AudioBuffer& audio,
                     const std::string& path);

}  // namespace vemba
