#include "tools/pack_recording.h"

#include <sndfile.h>
#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "audio/prompt_measure.h"
#include "platform/text_util.h"

namespace vemba {

namespace {

struct SndfileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};
struct SoxrDeleter {
  void operator()(soxr* resampler) const { soxr_delete(resampler); }
};

std::string duration_text(double seconds) {
  long whole = std::lround(seconds);
  return string_printf("%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
}

// Feeds n mono samples (none: the end of the input) through the resampler,
// appending what comes out.
bool resample(soxr_t resampler, const float* in, size_t n, std::vector<float>* out) {
  float block[4096];
  size_t used = 0;
  while (true) {
    size_t taken = 0, made = 0;
    if (soxr_process(resampler, in ? in + used : nullptr, n - used, &taken, block, std::size(block),
                     &made) != nullptr) {
      return false;
    }
    out->insert(out->end(), block, block + made);
    used += taken;
    // The block may have been too small for all there was to give.
    if (used == n && made < std::size(block)) return true;
  }
}

}  // namespace

bool read_recording(FileSystem& fs, const std::string& path, std::vector<float>* samples,
                    std::string* error) {
  samples->clear();
  // One byte tells a missing or empty file from one libsndfile cannot read.
  std::string probe;
  ReadStatus status = fs.read_file(path, &probe, 1);
  if (status == ReadStatus::kNotFound) {
    *error = "no such file";
    return false;
  }
  if (status == ReadStatus::kOk && probe.empty()) {
    *error = "empty file";
    return false;
  }
  SF_INFO info{};
  std::unique_ptr<SNDFILE, SndfileCloser> file(sf_open(os_path(path).c_str(), SFM_READ, &info));
  if (!file) {
    *error = std::string("not a recording libsndfile can read (") + sf_strerror(nullptr) + ")";
    return false;
  }
  if (info.frames <= 0 || info.samplerate <= 0 || info.channels <= 0) {
    *error = "holds no audio";
    return false;
  }
  const double seconds = static_cast<double>(info.frames) / info.samplerate;
  if (seconds > kMaxSourceSeconds) {
    *error = "lasts " + duration_text(seconds) + "; a prompt may last at most " +
             duration_text(kMaxSourceSeconds);
    return false;
  }

  soxr_error_t failure = nullptr;
  soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
  soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
  std::unique_ptr<soxr, SoxrDeleter> resampler(
      soxr_create(info.samplerate, kPromptRate, 1, &failure, &io, &quality, nullptr));
  if (failure != nullptr) {
    *error = std::string("cannot be resampled (") + failure + ")";
    return false;
  }
  samples->reserve(static_cast<size_t>(seconds * kPromptRate) + 64);
  const size_t channels = static_cast<size_t>(info.channels);
  const size_t frames = std::max<size_t>(1, 65536 / channels);
  std::vector<float> interleaved(frames * channels);
  std::vector<float> mono(frames);
  sf_count_t got;
  while ((got = sf_readf_float(file.get(), interleaved.data(), frames)) > 0) {
    for (size_t i = 0; i < static_cast<size_t>(got); ++i) {
      float sum = 0;
      for (size_t c = 0; c < channels; ++c) sum += interleaved[i * channels + c];
      // Float sources can hold anything; NaN would poison every measure.
      if (!std::isfinite(sum)) {
        *error = "holds samples that are not numbers (NaN or infinity)";
        return false;
      }
      mono[i] = sum / channels;
    }
    if (!resample(resampler.get(), mono.data(), static_cast<size_t>(got), samples)) {
      *error = "cannot be resampled";
      return false;
    }
  }
  if (!resample(resampler.get(), nullptr, 0, samples)) {
    *error = "cannot be resampled";
    return false;
  }
  return true;
}

}  // namespace vemba
