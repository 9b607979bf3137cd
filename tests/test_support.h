// Shared fixtures: temporary directories, file helpers and running the
// request program as a process.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vemba::test {

/// A fresh directory under /tmp, removed with everything in it on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  /// path() + "/" + name
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void write_file(const std::string& path, const std::string& content);
std::string read_file(const std::string& path);
bool file_exists(const std::string& path);
void make_dirs(const std::string& path);
/// Sets a file's last-write time (seconds since the epoch).
void set_mtime(const std::string& path, int64_t seconds);

/// Outcome of running a program.
struct ProcessResult {
  int status = -1;  // exit status, or -1 when it did not exit normally
  std::string out;  // standard output
};

/// Runs a program with arguments (no shell), capturing standard output.
ProcessResult run_process(const std::string& program, const std::vector<std::string>& args,
                          const std::string& working_dir = "");

/// The standard output lines of a run.
std::vector<std::string> lines_of(const std::string& text);

}  // namespace vemba::test
