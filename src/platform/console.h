// Standard output of a run: the argument echo, log records and notices.
#pragma once

#include <string>
#include <string_view>

namespace vemba {

class Console {
 public:
  virtual ~Console() = default;
  virtual void write(std::string_view text) = 0;
};

/// Writes to the process's standard output.
class StdoutConsole : public Console {
 public:
  void write(std::string_view text) override;
};

/// Keeps everything written, for tests.
class StringConsole : public Console {
 public:
  void write(std::string_view text) override { text_.append(text); }
  const std::string& text() const { return text_; }
  void clear() { text_.clear(); }

 private:
  std::string text_;
};

}  // namespace vemba
