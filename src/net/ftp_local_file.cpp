// Local files of FTP transfers, with std::FILE and std::filesystem.
#include "net/ftp_local_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include "net/net_error.h"

namespace net {
namespace fs = std::filesystem;

namespace {

[[noreturn]] void ThrowFileError(const std::string& what, const std::string& path, int err) {
  const int32_t number = err == ENOENT ? kErrFileNotFound : kErrFileAccess;
  throw NetError(number, "CFtpClient.LocalFile",
                 what + " \"" + path + "\": " + std::strerror(err != 0 ? err : EIO));
}

// Creates a new, empty file beside `target` whose name no one else uses.
std::FILE* CreateTempBeside(const std::string& target, std::string& temp_path) {
  const fs::path t(target);
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    fs::path candidate = t.parent_path() / ("." + t.filename().string() + ".part-" + suffix);
    if (std::FILE* f = std::fopen(candidate.c_str(), "wbx")) {
      temp_path = candidate.string();
      return f;
    }
    if (errno != EEXIST) break;
  }
  return nullptr;
}

// Follows `path` through symbolic links to what they name in the end (which need not exist
// yet), so that the file is written, not the link replaced.
fs::path ResolveLinks(const std::string& path) {
  fs::path p(path);
  std::error_code ec;
  for (int hops = 0; fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
    fs::path next = fs::read_symlink(p, ec);
    if (ec || hops == 40) ThrowFileError("cannot follow the link", path, ec ? ec.value() : ELOOP);
    p = next.is_absolute() ? next : p.parent_path() / next;
  }
  return p;
}

}  // namespace

int64_t DownloadSink::Open(const std::string& target, bool overwrite) {
  Discard();
  const std::string resolved = ResolveLinks(target).string();
  std::error_code ec;
  const fs::file_status status = fs::status(resolved, ec);
  if (fs::is_directory(status)) ThrowFileError("cannot write over the folder", target, EISDIR);
  target_ = resolved;
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    // A device or a pipe has no old copy to keep and must stay what it is. (Opening a pipe
    // waits for its reader, as for any program that writes into one.)
    file_ = std::fopen(resolved.c_str(), "wb");
    if (!file_) ThrowFileError("cannot open", target, errno);
    return 0;
  }
  if (overwrite) {
    file_ = CreateTempBeside(resolved, temp_);
    if (!file_) ThrowFileError("cannot create a file beside", target, errno);
    return 0;
  }
  created_ = !fs::exists(status);
  file_ = std::fopen(resolved.c_str(), "ab");
  if (!file_) ThrowFileError("cannot open", target, errno);
  std::fseek(file_, 0, SEEK_END);
  return static_cast<int64_t>(std::ftell(file_));
}

void DownloadSink::Write(const char* data, size_t size) {
  if (size == 0) return;
  if (!file_ || std::fwrite(data, 1, size, file_) != size) {
    ThrowFileError("cannot write", temp_.empty() ? target_ : temp_, errno);
  }
}

void DownloadSink::Commit() {
  if (!file_) return;
  const bool flushed = std::fflush(file_) == 0;
  const int flush_errno = errno;
  std::fclose(file_);
  file_ = nullptr;
  if (!flushed) {
    Discard();
    ThrowFileError("cannot write", target_, flush_errno);
  }
  created_ = false;
  if (temp_.empty()) return;
  std::error_code ec;
  // The new copy keeps the permissions the old one had.
  auto old_status = fs::status(target_, ec);
  if (!ec && fs::exists(old_status)) fs::permissions(temp_, old_status.permissions(), ec);
  fs::rename(temp_, target_, ec);
  if (ec) {
    Discard();
    ThrowFileError("cannot replace", target_, ec.value());
  }
  temp_.clear();
}

void DownloadSink::Discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  std::error_code ignored;
  if (!temp_.empty()) fs::remove(temp_, ignored);
  if (created_ && fs::file_size(target_, ignored) == 0 && !ignored) fs::remove(target_, ignored);
  temp_.clear();
  created_ = false;
}

int64_t UploadSource::Open(const std::string& path, int64_t start) {
  Close();
  std::error_code ec;
  if (fs::is_directory(path, ec)) ThrowFileError("cannot read the folder", path, EISDIR);
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) ThrowFileError("cannot open", path, errno);
  path_ = path;
  std::fseek(file_, 0, SEEK_END);
  const int64_t length = std::ftell(file_);
  if (start > 0 && start <= length) {
    std::fseek(file_, static_cast<long>(start), SEEK_SET);
  } else if (start > length) {
    std::fseek(file_, 0, SEEK_END);
  } else {
    std::fseek(file_, 0, SEEK_SET);
  }
  return length;
}

size_t UploadSource::Read(char* buffer, size_t size) {
  if (!file_) return 0;
  const size_t got = std::fread(buffer, 1, size, file_);
  if (got < size && std::ferror(file_)) ThrowFileError("cannot read", path_, errno);
  return got;
}

void UploadSource::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace net
