// Where the rules loader's messages go: the process log and, for tools that
// want to know which line a message concerns, an observer.
#pragma once

#include <string>

#include "base/log.h"

namespace vemba {

/// Sees every message the loader writes, with the place it concerns.
class LoadObserver {
 public:
  virtual ~LoadObserver() = default;
  /// line is the 1-based physical line of path, or 0 for the file as a whole.
  virtual void on_message(const std::string& path, int line, int level,
                          const std::string& message) = 0;
};

/// Passes messages to the log and, when set, to an observer together with the
/// current file and line.
class LoadReport {
 public:
  explicit LoadReport(Log& log, LoadObserver* observer = nullptr)
      : log_(log), observer_(observer) {}

  /// Sets the file and line that later messages concern.
  void set_place(const std::string* path, int line) {
    path_ = path;
    line_ = line;
  }
  /// printf-style message at a log level.
  void message(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));

 private:
  Log& log_;
  LoadObserver* observer_;
  const std::string* path_ = nullptr;
  int line_ = 0;
};

}  // namespace vemba
