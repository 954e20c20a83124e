// A fresh folder under the system's temporary folder for one test, removed with the object
// (write permission is given back first, for tests that take it away).
#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace brikka::testing {

class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "brikka-test") {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            (prefix + "-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace brikka::testing
