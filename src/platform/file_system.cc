#include "platform/file_system.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>

namespace vemba {

std::string os_path(std::string_view path) {
  std::string result(path);
  for (char& c : result) {
    if (c == '\\') c = '/';
  }
  return result;
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

class PosixAppendFile : public AppendFile {
 public:
  explicit PosixAppendFile(int fd) : fd_(fd) {}
  ~PosixAppendFile() override { ::close(fd_); }
  // O_APPEND and a single write keep records of concurrent processes whole.
  bool append(std::string_view data) override { return write_all(fd_, data); }

 private:
  int fd_;
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
  int fd = ::open(os_path(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadStatus::kNotFound : ReadStatus::kUnreadable;
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    return ReadStatus::kUnreadable;
  }
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

bool PosixFileSystem::write_file(const std::string& path, std::string_view data) {
  int fd = ::open(os_path(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = write_all(fd, data);
  return ::close(fd) == 0 && ok;
}

bool PosixFileSystem::write_file_atomic(const std::string& path, std::string_view data) {
  static std::atomic<unsigned> counter{0};
  std::string target = os_path(path);
  // The temporary name keeps the target's extension, so a file left behind by
  // a killed process is still swept with the others of its kind.
  size_t slash = target.rfind('/');
  size_t dot = target.rfind('.');
  std::string ext = (dot != std::string::npos && (slash == std::string::npos || dot > slash))
                        ? target.substr(dot)
                        : std::string();
  std::string temp = target + ".tmp" + std::to_string(::getpid()) + "_" +
                     std::to_string(counter.fetch_add(1)) + ext;
  // Never through a link planted under the temporary name, nor into a file
  // someone else made.
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = write_all(fd, data);
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

std::unique_ptr<AppendFile> PosixFileSystem::open_append(const std::string& path) {
  int fd = ::open(os_path(path).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  return std::make_unique<PosixAppendFile>(fd);
}

bool PosixFileSystem::list(const std::string& dir, const std::string& mask,
                           std::vector<DirEntry>* entries) {
  entries->clear();
  std::string base = os_path(dir);
  DIR* d = ::opendir(base.empty() ? "." : base.c_str());
  if (d == nullptr) return false;
  if (!base.empty() && base.back() != '/') base += '/';
  while (struct dirent* e = ::readdir(d)) {
    if (::fnmatch(mask.c_str(), e->d_name, 0) != 0) continue;
    struct stat st;
    if (::lstat((base + e->d_name).c_str(), &st) != 0) continue;
    entries->push_back({e->d_name, static_cast<int64_t>(st.st_mtime)});
  }
  ::closedir(d);
  return true;
}

bool PosixFileSystem::delete_file(const std::string& path) {
  return ::unlink(os_path(path).c_str()) == 0;
}

std::unique_ptr<FileLock> PosixFileSystem::lock(const std::string& path) {
  int fd = ::open(os_path(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
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
