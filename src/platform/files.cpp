// The application folder, case-insensitive asset paths, whole-file reads and atomic
// replacement of the files we rewrite (settings, highscores).
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace platform {
namespace {

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now so that a failing close (delayed write error) can be reported.
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

// Closes a directory stream when it goes out of scope.
struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

bool SameIgnoringCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = x - 'A' + 'a';
    if (y >= 'A' && y <= 'Z') y = y - 'A' + 'a';
    if (x != y) return false;
  }
  return i == a.size() && b[i] == '\0';
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// The entry of `dir` whose name equals `name` without regard to case. When several do
// (only possible on a case-sensitive disk), the smallest name wins so every run agrees.
bool FindIgnoringCase(const std::string& dir, const std::string& name, std::string& found) {
  std::unique_ptr<DIR, DirCloser> stream(::opendir(dir.c_str()));
  if (!stream) return false;
  bool any = false;
  while (const dirent* entry = ::readdir(stream.get())) {
    if (!SameIgnoringCase(name, entry->d_name)) continue;
    if (!any || found > entry->d_name) found = entry->d_name;
    any = true;
  }
  return any;
}

std::vector<std::string> SplitGamePath(const std::string& game_path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : game_path) {
    if (c == '\\' || c == '/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// The process umask, read without changing it (umask() itself would race other threads).
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0)
      return static_cast<mode_t>(std::strtol(line.c_str() + 6, nullptr, 8));
  }
  return 022;
}

// A replaced file keeps its permission bits and, where we may, its owner; a new file gets
// what open() would have given it.
void CopyModeAndOwner(int fd, const std::string& target) {
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) {
    // Owner first: a change of owner clears set-id bits that the mode then puts back.
    if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
      // Not ours to give away: the file simply becomes ours, as any rewrite would make it.
    }
    ::fchmod(fd, st.st_mode & 07777);
  } else {
    ::fchmod(fd, 0666 & ~CurrentUmask());
  }
}

// Writing through a symbolic link replaces the file it points at, not the link.
std::string FollowLinks(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = ::realpath(path.c_str(), nullptr);
  if (real == nullptr) return path;
  std::string resolved(real);
  std::free(real);
  return resolved;
}

void SyncFolder(const std::string& folder) {
  FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());  // best effort: the rename is already done
}

}  // namespace

std::string ExecutableFolder() {
  std::vector<char> buffer(PATH_MAX);
  for (;;) {
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) {
      char* cwd = ::getcwd(nullptr, 0);
      std::string here = cwd ? cwd : ".";
      std::free(cwd);
      return here;
    }
    if (static_cast<size_t>(n) < buffer.size()) {
      std::string exe(buffer.data(), static_cast<size_t>(n));
      size_t slash = exe.rfind('/');
      if (slash == std::string::npos) return ".";
      return slash == 0 ? "/" : exe.substr(0, slash);
    }
    buffer.resize(buffer.size() * 2);  // truncated: try again with more room
  }
}

std::string ResolvePath(const std::string& folder, const std::string& game_path) {
  std::string base = folder.empty() ? "." : folder;
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  std::string path = base;
  bool resolving = true;  // once a component is missing, the rest is taken as written
  for (const std::string& part : SplitGamePath(game_path)) {
    std::string name = part;
    if (resolving && !Exists(path + "/" + part)) {
      resolving = FindIgnoringCase(path, part, name);
      if (!resolving) name = part;
    }
    if (path != "/") path += '/';
    path += name;
  }
  return path;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string target = FollowLinks(path);
  size_t slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  if (name.empty()) return false;
  // Beside the target, so the rename stays on one file system and is atomic.
  std::string temp = folder + "." + name + ".XXXXXX";
  FileDescriptor fd(::mkstemp(temp.data()));
  if (fd.get() < 0) return false;
  CopyModeAndOwner(fd.get(), target);
  bool ok = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
  ok = fd.Close() && ok;
  if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  SyncFolder(folder.empty() ? "." : folder);
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  // Non-blocking so that a pipe or device under the name cannot hang us; only regular
  // files are read (a folder, /dev/zero or a FIFO is "cannot be read").
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) return false;
  struct stat st;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  std::string data;
  if (st.st_size > 0) data.reserve(static_cast<size_t>(st.st_size));
  char chunk[65536];
  for (;;) {
    ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    data.append(chunk, static_cast<size_t>(n));
  }
  bytes = std::move(data);
  return true;
}

std::string FileStem(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

PrivateFolder::PrivateFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "brikka-XXXXXX").string();
  if (::mkdtemp(pattern.data())) path_ = pattern;
}

PrivateFolder::~PrivateFolder() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

}  // namespace platform
