// brikka-sim [--data-dir DIR] SCRIPT: the game on the headless platform, driven by a script;
// brikka-sim RECORDING: a game recorded by `brikka --record`, replayed.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "platform/files.h"
#include "platform/recording/tape.h"
#include "sim/simulator.h"

namespace {

// A recording begins with its own first line; the file is left at its beginning.
bool IsRecording(std::ifstream& file) {
  char head[sizeof platform::kRecordingMagic] = {};
  file.read(head, sizeof head - 1);
  const bool recording = std::strcmp(head, platform::kRecordingMagic) == 0;
  file.clear();
  file.seekg(0);
  return recording;
}

}  // namespace

int main(int argc, char** argv) {
  std::string data_dir, script_path;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--data-dir" && i + 1 < argc) {
      data_dir = argv[++i];
    } else if (a == "-h" || a == "--help") {
      std::cout << "usage: brikka-sim [--data-dir DIR] SCRIPT   (SCRIPT - reads standard input)\n"
                   "       brikka-sim RECORDING   (a game recorded by brikka --record, replayed)\n";
      return 0;
    } else if (script_path.empty()) {
      script_path = a;
    } else {
      std::cerr << "brikka-sim: unexpected argument '" << a << "'\n";
      return 2;
    }
  }
  if (script_path.empty()) {
    std::cerr << "usage: brikka-sim [--data-dir DIR] SCRIPT\n";
    return 2;
  }
  const std::string app_dir = platform::ExecutableFolder();
  if (data_dir.empty()) data_dir = app_dir;
  std::error_code ec;
  if (!std::filesystem::is_directory(data_dir, ec)) {
    std::cerr << "brikka-sim: the data folder '" << data_dir << "' does not exist\n";
    return 2;
  }
  std::ifstream file;
  std::istream* in = &std::cin;
  if (script_path != "-") {
    file.open(script_path);
    if (!file) {
      std::cerr << "brikka-sim: cannot read the script '" << script_path << "'\n";
      return 2;
    }
    in = &file;
  }
  brikka::sim::Simulator sim(app_dir, data_dir, std::cout);
  if (file.is_open() && IsRecording(file)) return sim.RunRecording(script_path, std::cerr);
  return sim.Run(*in, std::cerr);
}
