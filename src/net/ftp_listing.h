// Directory listings from the FTP LIST command: the file record, a keyed collection of them,
// and the parser for the UNIX ("ls -l") and DOS forms. Pure, no I/O.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace net {

struct FtpDate {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

class CFtpFile {
 public:
  bool IsDirectory = false;
  int64_t FileSize = 0;  // 64-bit: listings show files over 2 GiB
  FtpDate LastWriteTime;
  std::string FileName, FilePath, Permissions, Owner, Group;  // FilePath: a link's target
};

// A keyed collection in insertion order; keys are unique (case-sensitive).
class CFtpFiles {
 public:
  // Add throws std::invalid_argument on a repeated key; Item and Remove throw
  // std::out_of_range for a position (1-based) or key that is not there.
  CFtpFile& Add(const CFtpFile& file, const std::string& key);
  CFtpFile& Item(size_t index1);
  CFtpFile& Item(const std::string& key);
  size_t Count() const;
  void Remove(size_t index1);
  void Remove(const std::string& key);
  bool Contains(const std::string& key) const;
  void Clear();
  void Reserve(size_t count);

  // Iteration in insertion order over the files (keys are not exposed).
  auto begin() const { return files_.begin(); }
  auto end() const { return files_.end(); }

 private:
  size_t IndexOf(const std::string& key) const;  // 0-based; files_.size() when absent

  std::vector<CFtpFile> files_;
  std::unordered_map<std::string, size_t> index_;  // key -> 0-based position
  std::vector<const std::string*> keys_;           // files_[i]'s key, kept in index_
};

// Parses a LIST reply (UNIX or DOS form). `current_year` dates UNIX lines that show a time
// instead of a year. False (with a reason in *error) when any line cannot be parsed.
// `out` is replaced by the listing's files; after a failure it is left empty.
bool ParseListing(std::string_view listing, int current_year, CFtpFiles& out,
                  std::string* error = nullptr);

}  // namespace net
