// Files held in memory for unit tests, the loader's benchmark and its fuzz
// target. Paths mean what they mean to the real file system ("\" and "/" are
// separators, "." and ".." are resolved); a directory exists when it was
// added or when something lies below it. Chosen calls can be made to fail.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace vemba {

/// The calls a test can make fail (kAppend: opening a file for appending;
/// an atomic write is two steps, kAtomicWrite the data and kRename its
/// putting in place; kRead also opening a file in place, kOverwrite changing
/// it there; kStamp opening a stamp).
enum class FsOp {
  kRead,
  kWrite,
  kAtomicWrite,
  kRename,
  kAppend,
  kList,
  kDelete,
  kLock,
  kOverwrite,
  kStamp
};
constexpr FsOp kAllFsOps[] = {FsOp::kRead,      FsOp::kWrite, FsOp::kAtomicWrite, FsOp::kRename,
                              FsOp::kAppend,    FsOp::kList,  FsOp::kDelete,      FsOp::kLock,
                              FsOp::kOverwrite, FsOp::kStamp};

class MemoryFileSystem : public FileSystem {
 public:
  /// Files written through the interface get mtime 0, or the clock's "now".
  MemoryFileSystem() = default;
  explicit MemoryFileSystem(const Clock& clock) : clock_(&clock) {}

  /// Creates or replaces a file (parent directories need not exist).
  void add_file(const std::string& path, std::string_view data, int64_t mtime = 0);
  void add_dir(const std::string& path, int64_t mtime = 0);
  void set_mtime(const std::string& path, int64_t mtime);
  /// A file's bytes, or nothing when there is no such file.
  std::optional<std::string> contents(const std::string& path) const;
  /// Makes calls of op on paths ending in suffix fail: every one, or only the
  /// nth (counting from 1) when nth is above 0.
  void fail(FsOp op, const std::string& suffix, int nth = 0);
  /// How many calls of op were made so far.
  int calls(FsOp op) const;

  bool exists(const std::string& path) override;
  ReadStatus read_file(const std::string& path, std::string* out, size_t max_bytes) override;
  std::unique_ptr<ReadFile> open_read(const std::string& path, ReadStatus* status) override;
  bool write_file(const std::string& path, std::string_view data) override;
  std::unique_ptr<AtomicFile> create_atomic(const std::string& path, Replace replace) override;
  std::unique_ptr<AppendFile> open_append(const std::string& path) override;
  std::unique_ptr<InPlaceFile> open_in_place(const std::string& path) override;
  std::optional<int64_t> modified_time(const std::string& path) override;
  /// Stamps lock one another as processes would; kLock makes try_lock fail.
  std::unique_ptr<StampFile> open_stamp(const std::string& path) override;
  bool list(const std::string& dir, const std::string& mask,
            std::vector<DirEntry>* entries) override;
  bool delete_file(const std::string& path) override;
  std::unique_ptr<FileLock> lock(const std::string& path) override;

 private:
  struct File {
    std::string data;
    int64_t mtime = 0;
  };
  struct Fault {
    FsOp op;
    std::string suffix;
    int nth;
    int seen = 0;
  };
  class Appender;
  class Reader;
  class Writer;
  class InPlace;
  class Stamp;

  bool failed(FsOp op, const std::string& path);
  bool is_dir(const std::string& path) const;
  /// True when path may become a file: its directory exists and it is none.
  bool can_create(const std::string& path) const;
  /// Creates or replaces the file at a normalised path.
  bool store(const std::string& p, std::string_view data);
  /// An empty file at path unless there is one; false when it cannot be.
  bool create_if_missing(const std::string& path);
  int64_t now() const { return clock_ ? clock_->now() : 0; }

  const Clock* clock_ = nullptr;
  std::map<std::string, File> files_;  // by normalised path
  std::map<std::string, int64_t> dirs_;
  std::vector<Fault> faults_;
  std::map<FsOp, int> calls_;
  std::set<std::string> stamps_locked_;
};

}  // namespace vemba
