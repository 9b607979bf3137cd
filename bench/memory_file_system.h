// Files held in memory for the loader's benchmark and fuzz target: only what
// the rules loader uses does anything, so their figures are the loader's own.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace vemba {

/// A file system whose files are the entries of a map.
class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;

  bool exists(const std::string& path) override { return files.count(path) > 0; }
  int64_t file_size(const std::string& path) override {
    auto it = files.find(path);
    return it == files.end() ? -1 : static_cast<int64_t>(it->second.size());
  }
  ReadStatus read_file(const std::string& path, std::string* out, size_t max_bytes) override {
    auto it = files.find(path);
    if (it == files.end()) return ReadStatus::kNotFound;
    out->assign(it->second, 0, max_bytes);
    return ReadStatus::kOk;
  }
  bool write_file(const std::string&, std::string_view) override { return false; }
  bool write_file_atomic(const std::string&, std::string_view) override { return false; }
  std::unique_ptr<AppendFile> open_append(const std::string&) override { return nullptr; }
  bool list(const std::string&, const std::string&, std::vector<DirEntry>*) override {
    return false;
  }
  bool delete_file(const std::string&) override { return false; }
  std::unique_ptr<FileLock> lock(const std::string&) override { return nullptr; }
};

}  // namespace vemba
