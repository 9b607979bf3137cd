#include "rules/load_report.h"

#include <cstdarg>

#include "platform/text_util.h"

namespace vemba {

void LoadReport::message(int level, const char* format, ...) {
  // Nothing to format when neither the log nor an observer would see it.
  if (observer_ == nullptr && level > log_.level()) return;
  va_list args;
  va_start(args, format);
  std::string text = string_vprintf(format, args);
  va_end(args);
  log_.write(level, text);
  if (observer_ != nullptr) {
    static const std::string kNoPath;
    observer_->on_message(path_ != nullptr ? *path_ : kNoPath, line_, level, text);
  }
}

}  // namespace vemba
