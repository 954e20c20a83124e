// The recording's writer.
#include "platform/recording/tape_writer.h"

#include <cerrno>
#include <cstring>
#include <iostream>

#include "platform/recording/tape_tokens.h"

namespace platform {

namespace {
// Written at least this often, and whenever this much has gathered.
constexpr auto kFlushEvery = std::chrono::seconds(2);
constexpr size_t kFlushBytes = 256 * 1024;
}  // namespace

std::unique_ptr<TapeWriter> TapeWriter::Create(const std::string& path, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    error = std::strerror(errno);
    return nullptr;
  }
  return std::unique_ptr<TapeWriter>(new TapeWriter(file));
}

TapeWriter::~TapeWriter() {
  Flush();
  if (file_) std::fclose(file_);
}

void TapeWriter::WriteHeader(uint64_t seed, const std::vector<DataFile>& files,
                             const StartValues& values) {
  buffer_ += std::string(kRecordingMagic) + ' ' + IntToken(kRecordingFormat) + '\n';
  buffer_ += "seed " + std::to_string(seed) + '\n';
  for (const DataFile& f : files) {
    if (!f.bytes) continue;
    buffer_ += "file " + f.name + ' ' + IntToken(static_cast<int64_t>(f.bytes->size())) + ' ' +
               EscapeText(*f.bytes) + '\n';
  }
  for (const auto& [name, value] : values) {
    buffer_ += "start " + EscapeText(name) + ' ' + EscapeText(value) + '\n';
  }
  Flush();
}

std::string TapeWriter::Take(Stream) {
  throw std::logic_error("a recording being written is not read");
}

void TapeWriter::EndPass() {
  FormatPass(buffer_, pass_++, tokens_, last_);
  for (auto& t : tokens_) t.clear();
}

void TapeWriter::BeginPass() {
  EndPass();
  if (buffer_.size() >= kFlushBytes ||
      std::chrono::steady_clock::now() - flushed_at_ >= kFlushEvery) {
    Flush();
  }
}

void TapeWriter::Finish(const std::string& dump_json) {
  EndPass();
  buffer_ += "dump " + dump_json + '\n';
  Flush();
  if (file_ && std::fclose(file_) != 0 && !failed_) {
    std::cerr << "brikka: the recording could not be completed: " << std::strerror(errno) << "\n";
  }
  file_ = nullptr;
}

// A disk that fills up stops the recording, not the game; what was written replays.
void TapeWriter::Flush() {
  flushed_at_ = std::chrono::steady_clock::now();
  if (!file_ || failed_ || buffer_.empty()) {
    buffer_.clear();
    return;
  }
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size() ||
      std::fflush(file_) != 0) {
    failed_ = true;
    std::cerr << "brikka: the recording stopped: " << std::strerror(errno) << "\n";
  }
  buffer_.clear();
}

}  // namespace platform
