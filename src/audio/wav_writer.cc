#include "audio/wav_writer.h"

#include "platform/text_util.h"

namespace vemba {

namespace {

void put_u16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void put_u32(std::string& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((v >> shift) & 0xFF);
}

}  // namespace

std::string wave_header(uint32_t sample_count) {
  std::string h;
  h.reserve(kWaveHeaderSize);
  h += "RIFF";
  put_u32(h, sample_count + 50);
  h += "WAVE";
  h += "fmt ";
  put_u32(h, 18);
  put_u16(h, 7);  // mu-law
  put_u16(h, 1);  // channels
  put_u32(h, 8000);
  put_u32(h, 8000);
  put_u16(h, 1);  // block alignment
  put_u16(h, 8);  // bits per sample
  put_u16(h, 0);  // no format extension
  h += "fact";
  put_u32(h, 4);
  put_u32(h, sample_count);
  h += "data";
  put_u32(h, sample_count);
  return h;
}

bool write_wave_file(FileSystem& fs, Console& console, const AudioBuffer& audio,
                     const std::string& path) {
  // The sound's name belongs to one caller's page, which is not read while
  // a new request of the same name runs, so the old file can go first.
  std::unique_ptr<AtomicFile> file = fs.create_atomic(path, Replace::kOldFirst);
  bool ok = file && file->write(wave_header(static_cast<uint32_t>(audio.length())));
  for (const AudioSegment& segment : audio.segments()) {
    ok = ok && file->write_from(*segment.file, segment.length);
  }
  if (ok && file->commit()) return true;
  console.write(string_printf("\nERROR!! UNABLE to OPEN File [%s]\n", path.c_str()));
  return false;
}

}  // namespace vemba
