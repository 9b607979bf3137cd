#include "platform/file_system.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace vemba {

std::string os_path(std::string_view path) {
  std::string result(path);
  for (char& c : result) {
    if (c == '\\') c = '/';
  }
  return result;
}

std::string temporary_name(std::string_view target_name, uint64_t random) {
  size_t dot = target_name.rfind('.');
  std::string_view ext =
      dot == std::string_view::npos || dot == 0 ? std::string_view() : target_name.substr(dot);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name(kTemporaryPrefix);
  for (int shift = 60; shift >= 0; shift -= 4) name += kHex[(random >> shift) & 0xF];
  name += ext;
  return name;
}

bool is_temporary_name(std::string_view name) { return name.starts_with(kTemporaryPrefix); }

bool FileSystem::write_file_atomic(const std::string& path, std::string_view data,
                                   Replace replace) {
  std::unique_ptr<AtomicFile> file = create_atomic(path, replace);
  return file && file->write(data) && file->commit();
}

bool matches_wildcard(const std::string& name, const std::string& mask) {
  return ::fnmatch(mask.c_str(), name.c_str(), 0) == 0;
}

namespace {

bool write_all(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

bool copy_file_bytes(int in, int out, int64_t length, CopyMethod* method) {
  off_t offset = 0;
  while (offset < length) {
    size_t want = static_cast<size_t>(length - offset);
    ssize_t n;
    if (*method == CopyMethod::kCopyFileRange) {
      n = ::copy_file_range(in, &offset, out, nullptr, want, 0);
    } else if (*method == CopyMethod::kSendfile) {
      n = ::sendfile(out, in, &offset, want);
    } else {
      char block[65536];
      n = ::pread(in, block, std::min(want, sizeof block), offset);
      if (n > 0 && !write_all(out, std::string_view(block, static_cast<size_t>(n)))) return false;
      if (n > 0) offset += n;
    }
    if (n > 0) continue;
    if (n < 0 && errno == EINTR) continue;
    // Errors that say this way of copying is not available here. Some file
    // systems report nothing copied instead, so only a plain read has the
    // last word on where the file ends.
    bool unsupported =
        n == 0 || errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP;
    if (!unsupported || *method == CopyMethod::kReadWrite) return false;
    *method = static_cast<CopyMethod>(static_cast<int>(*method) + 1);
  }
  return true;
}

namespace {

class PosixAppendFile : public AppendFile {
 public:
  explicit PosixAppendFile(int fd) : fd_(fd) {}
  ~PosixAppendFile() override { ::close(fd_); }
  // O_APPEND and a single write keep records of concurrent processes whole.
  bool append(std::string_view data) override { return write_all(fd_, data); }

 private:
  int fd_;
};

class PosixInPlaceFile : public InPlaceFile {
 public:
  PosixInPlaceFile(int fd, size_t size, bool writable)
      : fd_(fd), size_(size), writable_(writable) {}
  ~PosixInPlaceFile() override { ::close(fd_); }

  std::optional<std::string_view> read_all() override {
    // Left uninitialised: the read fills it.
    bytes_.reset(new char[size_]);
    size_t got = 0;
    while (got < size_) {
      ssize_t n = ::pread(fd_, bytes_.get() + got, size_ - got, static_cast<off_t>(got));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return std::nullopt;
      if (n == 0) break;
      got += static_cast<size_t>(n);
    }
    return std::string_view(bytes_.get(), got);
  }

  // The kernel checks for a fatal signal only between the pages of a write,
  // so a write within one page is copied into the file whole or not at all.
  bool overwrite(size_t offset, std::string_view data) override {
    if (!writable_ || offset + data.size() > size_ || !within_one_page(offset, data.size())) {
      return false;
    }
    ssize_t n;
    do {
      n = ::pwrite(fd_, data.data(), data.size(), static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    return n == static_cast<ssize_t>(data.size());
  }

 private:
  int fd_;
  size_t size_;
  bool writable_;
  std::unique_ptr<char[]> bytes_;
};

class PosixStampFile : public StampFile {
 public:
  explicit PosixStampFile(int fd) : fd_(fd) {}
  ~PosixStampFile() override { ::close(fd_); }

  bool try_lock() override {
    int result;
    do {
      result = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0;
  }
  int64_t time() override {
    struct stat st;
    return ::fstat(fd_, &st) == 0 ? static_cast<int64_t>(st.st_mtime) : 0;
  }
  bool set_time(int64_t seconds) override {
    struct timespec times[2] = {{static_cast<time_t>(seconds), 0},
                                {static_cast<time_t>(seconds), 0}};
    return ::futimens(fd_, times) == 0;
  }

 private:
  int fd_;
};

// Opens a regular file for reading; -1 with *status set otherwise.
int open_regular(const std::string& path, ReadStatus* status, struct stat* st) {
  // Without O_NONBLOCK, opening a named pipe would wait for a writer.
  int fd = ::open(os_path(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *status = errno == ENOENT ? ReadStatus::kNotFound : ReadStatus::kUnreadable;
    return -1;
  }
  if (::fstat(fd, st) != 0 || !S_ISREG(st->st_mode)) {
    ::close(fd);
    *status = ReadStatus::kUnreadable;
    return -1;
  }
  *status = ReadStatus::kOk;
  return fd;
}

class PosixReadFile : public ReadFile {
 public:
  PosixReadFile(int fd, int64_t size) : fd_(fd), size_(size) {}
  ~PosixReadFile() override { ::close(fd_); }
  int64_t size() const override { return size_; }
  int fd() const { return fd_; }

 private:
  int fd_;
  int64_t size_;
};

class PosixAtomicFile : public AtomicFile {
 public:
  PosixAtomicFile(int fd, std::string temp, std::string target, Replace replace)
      : fd_(fd), temp_(std::move(temp)), target_(std::move(target)), replace_(replace) {}
  ~PosixAtomicFile() override {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(temp_.c_str());
  }
  bool write(std::string_view data) override {
    ok_ = ok_ && write_all(fd_, data);
    return ok_;
  }
  bool write_from(const ReadFile& from, int64_t length) override {
    const auto* file = dynamic_cast<const PosixReadFile*>(&from);
    ok_ = ok_ && file != nullptr && copy_file_bytes(file->fd(), fd_, length, &method_);
    return ok_;
  }
  bool commit() override {
    ok_ = (::close(fd_) == 0) && ok_;
    fd_ = -1;
    if (!ok_) return false;
    // A name that belongs to one caller has no reader while it is replaced.
    if (replace_ == Replace::kOldFirst) ::unlink(target_.c_str());
    committed_ = ::rename(temp_.c_str(), target_.c_str()) == 0;
    return committed_;
  }

 private:
  int fd_;
  std::string temp_, target_;
  Replace replace_;
  CopyMethod method_ = CopyMethod::kCopyFileRange;
  bool ok_ = true;
  bool committed_ = false;
};

class PosixFileLock : public FileLock {
 public:
  explicit PosixFileLock(int fd) : fd_(fd) {}
  ~PosixFileLock() override {
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
  }

 private:
  int fd_;
};

}  // namespace

bool PosixFileSystem::exists(const std::string& path) {
  struct stat st;
  return ::stat(os_path(path).c_str(), &st) == 0;
}

ReadStatus PosixFileSystem::read_file(const std::string& path, std::string* out, size_t max_bytes) {
  out->clear();
  ReadStatus status;
  struct stat st;
  int fd = open_regular(path, &status, &st);
  if (fd < 0) return status;
  if (st.st_size > 0) out->reserve(std::min<size_t>(static_cast<size_t>(st.st_size), max_bytes));
  char block[65536];
  while (out->size() < max_bytes) {
    size_t want = std::min(sizeof(block), max_bytes - out->size());
    ssize_t n = ::read(fd, block, want);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return ReadStatus::kUnreadable;
    }
    if (n == 0) break;
    out->append(block, static_cast<size_t>(n));
  }
  ::close(fd);
  return ReadStatus::kOk;
}

std::unique_ptr<ReadFile> PosixFileSystem::open_read(const std::string& path, ReadStatus* status) {
  struct stat st;
  int fd = open_regular(path, status, &st);
  if (fd < 0) return nullptr;
  return std::make_unique<PosixReadFile>(fd, static_cast<int64_t>(st.st_size));
}

bool PosixFileSystem::write_file(const std::string& path, std::string_view data) {
  int fd = ::open(os_path(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = write_all(fd, data);
  return ::close(fd) == 0 && ok;
}

std::unique_ptr<AtomicFile> PosixFileSystem::create_atomic(const std::string& path,
                                                           Replace replace) {
  std::string target = os_path(path);
  size_t slash = target.rfind('/');
  size_t name_start = slash == std::string::npos ? 0 : slash + 1;
  std::string_view name = std::string_view(target).substr(name_start);
  // O_EXCL and O_NOFOLLOW: a file or symlink planted under the name is never
  // written through. A clash with a random name is only retried a few times.
  for (int attempt = 0; attempt < 4; ++attempt) {
    uint64_t random;
    if (::getrandom(&random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) break;
    std::string temp = target.substr(0, name_start) + temporary_name(name, random);
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd >= 0) return std::make_unique<PosixAtomicFile>(fd, temp, target, replace);
    if (errno != EEXIST) break;
  }
  return nullptr;
}

std::unique_ptr<AppendFile> PosixFileSystem::open_append(const std::string& path) {
  // A symlink planted under the day's name must not send records elsewhere.
  int fd =
      ::open(os_path(path).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  return std::make_unique<PosixAppendFile>(fd);
}

std::unique_ptr<InPlaceFile> PosixFileSystem::open_in_place(const std::string& path) {
  std::string p = os_path(path);
  constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  bool writable = true;
  int fd = ::open(p.c_str(), O_RDWR | kFlags);
  // A file that may only be read is still read; the caller then replaces it.
  if (fd < 0 && (errno == EACCES || errno == EROFS)) {
    writable = false;
    fd = ::open(p.c_str(), O_RDONLY | kFlags);
  }
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixInPlaceFile>(fd, static_cast<size_t>(st.st_size), writable);
}

std::optional<int64_t> PosixFileSystem::modified_time(const std::string& path) {
  struct stat st;
  if (::lstat(os_path(path).c_str(), &st) != 0) return std::nullopt;
  return static_cast<int64_t>(st.st_mtime);
}

std::unique_ptr<StampFile> PosixFileSystem::open_stamp(const std::string& path) {
  std::string p = os_path(path);
  constexpr int kFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  int fd = ::open(p.c_str(), kFlags);
  bool made = false;
  if (fd < 0 && errno == ENOENT) {
    fd = ::open(p.c_str(), kFlags | O_CREAT | O_EXCL, 0644);
    made = fd >= 0;
    if (fd < 0 && errno == EEXIST) fd = ::open(p.c_str(), kFlags);
  }
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  auto stamp = std::make_unique<PosixStampFile>(fd);
  if (made) stamp->set_time(0);
  return stamp;
}

bool PosixFileSystem::list(const std::string& dir, const std::string& mask,
                           std::vector<DirEntry>* entries) {
  entries->clear();
  // An empty name is no directory: taking it for the working directory once
  // let a sweep delete files there.
  DIR* d = ::opendir(os_path(dir).c_str());
  if (d == nullptr) return false;
  // Entries are looked at through the directory's own handle: no path is
  // joined and resolved again for each.
  int handle = ::dirfd(d);
  while (struct dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == ".." || !matches_wildcard(name, mask)) continue;
    struct stat st;
    if (::fstatat(handle, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    entries->push_back({std::move(name), static_cast<int64_t>(st.st_mtime)});
  }
  ::closedir(d);
  return true;
}

bool PosixFileSystem::delete_file(const std::string& path) {
  return ::unlink(os_path(path).c_str()) == 0;
}

std::unique_ptr<FileLock> PosixFileSystem::lock(const std::string& path) {
  // Never truncated, and a symlink planted in its place is refused.
  int fd = ::open(os_path(path).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ::close(fd);
      return nullptr;
    }
  }
  return std::make_unique<PosixFileLock>(fd);
}

}  // namespace vemba
