// The file system as the request sees it. Paths are given the way the
// system builds them, with "\" as separator; every "\" is taken as "/" when a
// file is actually touched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vemba {

/// One directory entry found by a wildcard listing.
struct DirEntry {
  std::string name;
  int64_t mtime = 0;  // last write, seconds since the epoch
};

/// Longest name of one directory entry.
constexpr size_t kFileNameMax = 255;
/// Every temporary file name starts with this, and nothing else should.
constexpr std::string_view kTemporaryPrefix = ".tmp-";

/// The temporary name for a file named target_name: the prefix, random as 16
/// hex digits, then the target's extension, so a sweep by extension still
/// finds what a killed process left behind. Its length does not grow with the
/// target's.
std::string temporary_name(std::string_view target_name, uint64_t random);

/// True for names that temporary_name can give.
bool is_temporary_name(std::string_view name);

/// Outcome of reading a whole file.
enum class ReadStatus { kOk, kNotFound, kUnreadable };

/// A file opened for appending; every append reaches the file in one write.
class AppendFile {
 public:
  virtual ~AppendFile() = default;
  virtual bool append(std::string_view data) = 0;
};

/// Pages of the page cache are this size or a multiple of it.
constexpr size_t kFilePageSize = 4096;

/// A file opened to be read and changed in place by one process at a time
/// (its users share a lock).
class InPlaceFile {
 public:
  virtual ~InPlaceFile() = default;
  /// The whole file, valid while this object lives; nothing when it cannot
  /// be read.
  virtual std::optional<std::string_view> read_all() = 0;
  /// Overwrites bytes of the file at offset with data, in one piece that a
  /// process killed at any instant leaves either undone or done: the bytes
  /// must lie within the file and within one kFilePageSize page of it. False,
  /// with nothing written, when they do not or the file cannot be written.
  virtual bool overwrite(size_t offset, std::string_view data) = 0;
};

/// A file held open whose last-write time records when a periodic job last
/// ran; its lock tells which process runs it.
class StampFile {
 public:
  virtual ~StampFile() = default;
  /// Takes the file's exclusive lock without waiting (it is released with
  /// this object); false when another process holds it.
  virtual bool try_lock() = 0;
  /// The last-write time, seconds since the epoch; 0 for a stamp just made.
  virtual int64_t time() = 0;
  virtual bool set_time(int64_t seconds) = 0;
};

/// An exclusive advisory lock, held until destroyed.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

/// A regular file opened for reading. It stays the file that was opened, even
/// when another is put under its name.
class ReadFile {
 public:
  virtual ~ReadFile() = default;
  /// Its size in bytes when it was opened.
  virtual int64_t size() const = 0;
};

/// How a committed file takes the place of one already under its name.
enum class Replace {
  /// One rename: a reader finds the old file or the new one, never neither.
  kInOneStep,
  /// The old name is removed first, for files that no one reads while they
  /// are replaced: ext4 forces the new file's data to disk when a rename
  /// replaces an existing name (about 0.1 ms), but not for a fresh name.
  kOldFirst,
};

/// A new file written under a temporary name beside its final one; nothing
/// appears under the final name before commit(), and a file never committed
/// is removed.
class AtomicFile {
 public:
  virtual ~AtomicFile() = default;
  virtual bool write(std::string_view data) = 0;
  /// Appends the first length bytes of from, an open file of the same file
  /// system, without passing them through the process where the system can
  /// copy them itself. False when from has fewer bytes.
  virtual bool write_from(const ReadFile& from, int64_t length) = 0;
  /// Puts the file under its final name; false, with nothing put in place,
  /// when a write or the renaming failed.
  virtual bool commit() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool exists(const std::string& path) = 0;
  /// Reads at most max_bytes of a regular file into *out (replacing its
  /// content); anything else (a pipe, a device) is unreadable.
  virtual ReadStatus read_file(const std::string& path, std::string* out,
                               size_t max_bytes = std::numeric_limits<size_t>::max()) = 0;
  /// Opens a regular file for reading; null, with *status saying why, when
  /// it is missing or not a regular file (a pipe is never waited for).
  virtual std::unique_ptr<ReadFile> open_read(const std::string& path, ReadStatus* status) = 0;
  /// Creates or truncates the file and writes data.
  virtual bool write_file(const std::string& path, std::string_view data) = 0;
  /// Starts a file that replaces path when committed, so readers never see
  /// a partial one. The temporary is created afresh under an unguessable name
  /// and never through a symlink. Null when it cannot be created.
  virtual std::unique_ptr<AtomicFile> create_atomic(const std::string& path, Replace replace) = 0;
  /// Writes data through create_atomic; false (nothing put in place) when
  /// any step fails.
  bool write_file_atomic(const std::string& path, std::string_view data,
                         Replace replace = Replace::kInOneStep);
  /// Opens (creating if needed) a file for appending; null on failure, also
  /// when path is a symlink.
  virtual std::unique_ptr<AppendFile> open_append(const std::string& path) = 0;
  /// Opens an existing regular file to be read and changed in place, never
  /// through a symlink; null when it cannot be read.
  virtual std::unique_ptr<InPlaceFile> open_in_place(const std::string& path) = 0;
  /// The last-write time of path itself (a symlink is not followed), or
  /// nothing when there is no such file.
  virtual std::optional<int64_t> modified_time(const std::string& path) = 0;
  /// Opens the stamp at path, making it (with time 0) when missing, never
  /// through a symlink; null when it cannot be had.
  virtual std::unique_ptr<StampFile> open_stamp(const std::string& path) = 0;
  /// Lists the entries of dir whose names match mask ("*" and "?" wildcards),
  /// never "." and "..". False when the directory cannot be read.
  virtual bool list(const std::string& dir, const std::string& mask,
                    std::vector<DirEntry>* entries) = 0;
  virtual bool delete_file(const std::string& path) = 0;
  /// Takes an exclusive lock on path (created if missing, never through a
  /// symlink); null on failure.
  virtual std::unique_ptr<FileLock> lock(const std::string& path) = 0;
};

/// The real file system.
class PosixFileSystem : public FileSystem {
 public:
  bool exists(const std::string& path) override;
  ReadStatus read_file(const std::string& path, std::string* out, size_t max_bytes) override;
  using FileSystem::read_file;
  std::unique_ptr<ReadFile> open_read(const std::string& path, ReadStatus* status) override;
  bool write_file(const std::string& path, std::string_view data) override;
  std::unique_ptr<AtomicFile> create_atomic(const std::string& path, Replace replace) override;
  std::unique_ptr<AppendFile> open_append(const std::string& path) override;
  std::unique_ptr<InPlaceFile> open_in_place(const std::string& path) override;
  std::optional<int64_t> modified_time(const std::string& path) override;
  std::unique_ptr<StampFile> open_stamp(const std::string& path) override;
  bool list(const std::string& dir, const std::string& mask,
            std::vector<DirEntry>* entries) override;
  bool delete_file(const std::string& path) override;
  std::unique_ptr<FileLock> lock(const std::string& path) override;
};

/// The path the OS is given for a system path: every "\" becomes "/".
std::string os_path(std::string_view path);

/// Ways to copy bytes between open files, each the fallback of the one before.
enum class CopyMethod { kCopyFileRange, kSendfile, kReadWrite };

/// Copies length bytes from offset 0 of in to the current position of out
/// by *method, moving *method on to the next way when the system cannot copy
/// so (another file system, an old kernel). False on a read or write error
/// or when in ends early.
bool copy_file_bytes(int in, int out, int64_t length, CopyMethod* method);

/// True when name matches mask with the platform's wildcards ("*", "?").
bool matches_wildcard(const std::string& name, const std::string& mask);

/// True when size bytes at offset lie within one kFilePageSize page.
inline bool within_one_page(size_t offset, size_t size) {
  return size > 0 && offset / kFilePageSize == (offset + size - 1) / kFilePageSize;
}

}  // namespace vemba
