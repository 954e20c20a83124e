// The local ends of FTP transfers: a download sink that writes as data arrives, and an upload
// source read in bounded blocks. A download target that is a link is followed to its file; a
// regular file is received into a temporary file beside it, renamed over it only on success;
// a device or a pipe is written in place, as it is. Failures come back as NetError with the
// run-time numbers 53 (file not found) or 75 (path/file access error).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace net {

class DownloadSink {
 public:
  DownloadSink() = default;
  ~DownloadSink() { Discard(); }
  DownloadSink(const DownloadSink&) = delete;
  DownloadSink& operator=(const DownloadSink&) = delete;

  // Overwrite: a fresh temporary file beside `target` (after links); the target is not
  // touched until Commit. Otherwise the target itself is opened for appending (created when
  // missing). A device or pipe is opened for writing as it is. Returns the length already
  // there, to resume after (0 when overwriting, and for a device or pipe).
  int64_t Open(const std::string& target, bool overwrite);
  void Write(const char* data, size_t size);
  // Finishes the file: the temporary one replaces the target.
  void Commit();
  // Gives up: closes the file and removes the temporary one. An appended-to target stays,
  // so a later resume can go on from it, unless we created it and it is still empty.
  void Discard();
  bool IsOpen() const { return file_ != nullptr; }

 private:
  std::FILE* file_ = nullptr;
  std::string target_;
  std::string temp_;      // empty when writing the target in place
  bool created_ = false;  // the target did not exist before Open
};

class UploadSource {
 public:
  UploadSource() = default;
  ~UploadSource() { Close(); }
  UploadSource(const UploadSource&) = delete;
  UploadSource& operator=(const UploadSource&) = delete;

  // Opens `path` for reading from byte `start`; returns the file's whole length.
  int64_t Open(const std::string& path, int64_t start);
  // Reads up to `size` bytes at the current position; 0 at the end of the file.
  size_t Read(char* buffer, size_t size);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }

 private:
  std::FILE* file_ = nullptr;
  std::string path_;
};

}  // namespace net
