// The data folder: the program folder when it can be written, else the user's XDG data folder.
#include "platform/data_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {
namespace {

// Makes every missing folder of an absolute path, private to the user as the XDG base
// directories ask.
void MakeFolders(const std::string& path) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return;
    if (slash == std::string::npos) return;
  }
}

const char* HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return home;
  const passwd* user = ::getpwuid(::getuid());
  return user != nullptr ? user->pw_dir : nullptr;
}

}  // namespace

std::string ChooseDataFolder(const std::string& program_folder, bool program_folder_writable,
                             const char* xdg_data_home, const char* home) {
  if (program_folder_writable) return program_folder;
  if (xdg_data_home != nullptr && xdg_data_home[0] == '/') {
    return std::string(xdg_data_home) + "/brikka";
  }
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.local/share/brikka";
  return program_folder;  // nowhere better: reads give the defaults, writes fail harmlessly
}

bool CanCreateFilesIn(const std::string& folder) {
  std::string probe = folder + "/.brikka-probe-XXXXXX";
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

std::string DataFolder(const std::string& program_folder) {
  const std::string folder = ChooseDataFolder(program_folder, CanCreateFilesIn(program_folder),
                                              std::getenv("XDG_DATA_HOME"), HomeFolder());
  if (folder != program_folder) MakeFolders(folder);
  return folder;
}

}  // namespace platform
