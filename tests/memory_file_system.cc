#include "memory_file_system.h"

namespace vemba {

namespace {

// One spelling per file: "/" separators, no empty, "." or ".." components, no
// trailing separator. Relative paths stay relative ("" is the current one).
std::string normalise(std::string_view path) {
  std::string os = os_path(path);
  bool absolute = !os.empty() && os[0] == '/';
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= os.size()) {
    size_t end = os.find('/', start);
    if (end == std::string::npos) end = os.size();
    std::string part = os.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty() && parts.back() != "..") {
        parts.pop_back();
      } else if (!absolute) {
        parts.push_back(part);
      }
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string result = absolute ? "/" : "";
  for (size_t i = 0; i < parts.size(); ++i) result += (i > 0 ? "/" : "") + parts[i];
  return result;
}

std::string parent_of(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// What lies below a directory starts with this.
std::string prefix_of(const std::string& dir) {
  return dir.empty() || dir == "/" ? dir : dir + "/";
}

class MemoryFileLock : public FileLock {};

}  // namespace

class MemoryFileSystem::Appender : public AppendFile {
 public:
  Appender(MemoryFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
  // Like an open descriptor of a deleted file, appends after a delete are
  // lost rather than bringing the file back.
  bool append(std::string_view data) override {
    auto it = fs_.files_.find(path_);
    if (it == fs_.files_.end()) return true;
    it->second.data.append(data);
    it->second.mtime = fs_.now();
    return true;
  }

 private:
  MemoryFileSystem& fs_;
  std::string path_;
};

class MemoryFileSystem::InPlace : public InPlaceFile {
 public:
  InPlace(MemoryFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
  std::optional<std::string_view> read_all() override {
    auto it = fs_.files_.find(path_);
    if (it == fs_.files_.end()) return std::nullopt;
    bytes_ = it->second.data;
    return bytes_;
  }
  // The same limits as the real one, so the callers' fallbacks are tested.
  bool overwrite(size_t offset, std::string_view data) override {
    auto it = fs_.files_.find(path_);
    if (fs_.failed(FsOp::kOverwrite, path_) || it == fs_.files_.end() ||
        offset + data.size() > it->second.data.size() || !within_one_page(offset, data.size())) {
      return false;
    }
    it->second.data.replace(offset, data.size(), data);
    it->second.mtime = fs_.now();
    return true;
  }

 private:
  MemoryFileSystem& fs_;
  std::string path_;
  std::string bytes_;
};

class MemoryFileSystem::Stamp : public StampFile {
 public:
  Stamp(MemoryFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
  ~Stamp() override {
    if (locked_) fs_.stamps_locked_.erase(path_);
  }
  bool try_lock() override {
    if (fs_.failed(FsOp::kLock, path_) || fs_.stamps_locked_.count(path_) > 0) return false;
    fs_.stamps_locked_.insert(path_);
    locked_ = true;
    return true;
  }
  int64_t time() override {
    auto it = fs_.files_.find(path_);
    return it == fs_.files_.end() ? 0 : it->second.mtime;
  }
  bool set_time(int64_t seconds) override {
    auto it = fs_.files_.find(path_);
    if (it == fs_.files_.end()) return false;
    it->second.mtime = seconds;
    return true;
  }

 private:
  MemoryFileSystem& fs_;
  std::string path_;
  bool locked_ = false;
};

// A copy of the file as it was when opened, as a descriptor keeps it.
class MemoryFileSystem::Reader : public ReadFile {
 public:
  explicit Reader(std::string data) : data_(std::move(data)) {}
  int64_t size() const override { return static_cast<int64_t>(data_.size()); }
  const std::string& data() const { return data_; }

 private:
  std::string data_;
};

class MemoryFileSystem::Writer : public AtomicFile {
 public:
  Writer(MemoryFileSystem& fs, std::string path, Replace replace)
      : fs_(fs), path_(std::move(path)), replace_(replace) {}
  bool write(std::string_view data) override {
    data_.append(data);
    return ok_;
  }
  bool write_from(const ReadFile& from, int64_t length) override {
    const auto* reader = dynamic_cast<const Reader*>(&from);
    ok_ = ok_ && reader != nullptr && length <= reader->size();
    if (ok_) data_.append(reader->data(), 0, static_cast<size_t>(length));
    return ok_;
  }
  bool commit() override {
    if (!ok_) return false;
    if (replace_ == Replace::kOldFirst) fs_.files_.erase(path_);
    return !fs_.failed(FsOp::kRename, path_) && fs_.store(path_, data_);
  }

 private:
  MemoryFileSystem& fs_;
  std::string path_;
  Replace replace_;
  std::string data_;
  bool ok_ = true;
};

void MemoryFileSystem::add_file(const std::string& path, std::string_view data, int64_t mtime) {
  files_[normalise(path)] = {std::string(data), mtime};
}

void MemoryFileSystem::add_dir(const std::string& path, int64_t mtime) {
  dirs_[normalise(path)] = mtime;
}

void MemoryFileSystem::set_mtime(const std::string& path, int64_t mtime) {
  std::string p = normalise(path);
  auto file = files_.find(p);
  if (file != files_.end()) {
    file->second.mtime = mtime;
  } else {
    dirs_[p] = mtime;
  }
}

std::optional<std::string> MemoryFileSystem::contents(const std::string& path) const {
  auto it = files_.find(normalise(path));
  if (it == files_.end()) return std::nullopt;
  return it->second.data;
}

void MemoryFileSystem::fail(FsOp op, const std::string& suffix, int nth) {
  faults_.push_back({op, os_path(suffix), nth});
}

int MemoryFileSystem::calls(FsOp op) const {
  auto it = calls_.find(op);
  return it == calls_.end() ? 0 : it->second;
}

bool MemoryFileSystem::failed(FsOp op, const std::string& path) {
  ++calls_[op];
  bool fails = false;
  for (Fault& f : faults_) {
    if (f.op != op || path.size() < f.suffix.size() ||
        path.compare(path.size() - f.suffix.size(), f.suffix.size(), f.suffix) != 0) {
      continue;
    }
    ++f.seen;
    if (f.nth == 0 || f.seen == f.nth) fails = true;
  }
  return fails;
}

bool MemoryFileSystem::is_dir(const std::string& path) const {
  if (path.empty() || path == "/" || dirs_.count(path) > 0) return true;
  std::string prefix = prefix_of(path);
  auto file = files_.lower_bound(prefix);
  if (file != files_.end() && file->first.compare(0, prefix.size(), prefix) == 0) return true;
  auto dir = dirs_.lower_bound(prefix);
  return dir != dirs_.end() && dir->first.compare(0, prefix.size(), prefix) == 0;
}

bool MemoryFileSystem::can_create(const std::string& path) const {
  return !is_dir(path) && is_dir(parent_of(path));
}

bool MemoryFileSystem::store(const std::string& p, std::string_view data) {
  if (!can_create(p)) return false;
  files_[p] = {std::string(data), now()};
  return true;
}

bool MemoryFileSystem::exists(const std::string& path) {
  std::string p = normalise(path);
  return files_.count(p) > 0 || is_dir(p);
}

ReadStatus MemoryFileSystem::read_file(const std::string& path, std::string* out,
                                       size_t max_bytes) {
  out->clear();
  std::string p = normalise(path);
  if (failed(FsOp::kRead, p)) return ReadStatus::kUnreadable;
  auto it = files_.find(p);
  if (it == files_.end()) return is_dir(p) ? ReadStatus::kUnreadable : ReadStatus::kNotFound;
  out->assign(it->second.data, 0, max_bytes);
  return ReadStatus::kOk;
}

std::unique_ptr<ReadFile> MemoryFileSystem::open_read(const std::string& path, ReadStatus* status) {
  std::string data;
  *status = read_file(path, &data, data.max_size());
  if (*status != ReadStatus::kOk) return nullptr;
  return std::make_unique<Reader>(std::move(data));
}

bool MemoryFileSystem::write_file(const std::string& path, std::string_view data) {
  std::string p = normalise(path);
  return !failed(FsOp::kWrite, p) && store(p, data);
}

std::unique_ptr<AtomicFile> MemoryFileSystem::create_atomic(const std::string& path,
                                                            Replace replace) {
  std::string p = normalise(path);
  if (failed(FsOp::kAtomicWrite, p) || !can_create(p)) return nullptr;
  return std::make_unique<Writer>(*this, p, replace);
}

bool MemoryFileSystem::create_if_missing(const std::string& path) {
  if (files_.count(path) > 0) return true;
  if (!can_create(path)) return false;
  files_[path] = {"", now()};
  return true;
}

std::unique_ptr<AppendFile> MemoryFileSystem::open_append(const std::string& path) {
  std::string p = normalise(path);
  if (failed(FsOp::kAppend, p) || !create_if_missing(p)) return nullptr;
  return std::make_unique<Appender>(*this, p);
}

std::unique_ptr<InPlaceFile> MemoryFileSystem::open_in_place(const std::string& path) {
  std::string p = normalise(path);
  if (failed(FsOp::kRead, p) || files_.count(p) == 0) return nullptr;
  return std::make_unique<InPlace>(*this, p);
}

std::optional<int64_t> MemoryFileSystem::modified_time(const std::string& path) {
  std::string p = normalise(path);
  auto file = files_.find(p);
  if (file != files_.end()) return file->second.mtime;
  auto dir = dirs_.find(p);
  if (dir != dirs_.end()) return dir->second;
  return std::nullopt;
}

std::unique_ptr<StampFile> MemoryFileSystem::open_stamp(const std::string& path) {
  std::string p = normalise(path);
  if (failed(FsOp::kStamp, p)) return nullptr;
  if (files_.count(p) == 0) {
    if (!can_create(p)) return nullptr;
    files_[p] = {"", 0};
  }
  return std::make_unique<Stamp>(*this, p);
}

bool MemoryFileSystem::list(const std::string& dir, const std::string& mask,
                            std::vector<DirEntry>* entries) {
  entries->clear();
  std::string d = normalise(dir);
  if (failed(FsOp::kList, d) || d.empty() || !is_dir(d)) return false;
  std::map<std::string, int64_t> found;
  std::string prefix = prefix_of(d);
  auto add = [&](const std::string& path, int64_t mtime) {
    if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) return;
    if (prefix.empty() && path[0] == '/') return;
    std::string rest = path.substr(prefix.size());
    size_t slash = rest.find('/');
    if (slash == std::string::npos) {
      found[rest] = mtime;
    } else {
      found.emplace(rest.substr(0, slash), 0);  // implied by what lies below
    }
  };
  // Sorted, so a directory comes before what lies below it.
  for (const auto& [path, mtime] : dirs_) add(path, mtime);
  for (const auto& [path, file] : files_) add(path, file.mtime);
  for (const auto& [name, mtime] : found) {
    if (matches_wildcard(name, mask)) entries->push_back({name, mtime});
  }
  return true;
}

bool MemoryFileSystem::delete_file(const std::string& path) {
  std::string p = normalise(path);
  return !failed(FsOp::kDelete, p) && files_.erase(p) > 0;
}

std::unique_ptr<FileLock> MemoryFileSystem::lock(const std::string& path) {
  std::string p = normalise(path);
  // Like the real one, the lock file is created when missing.
  if (failed(FsOp::kLock, p) || !create_if_missing(p)) return nullptr;
  return std::make_unique<MemoryFileLock>();
}

}  // namespace vemba
