// The one error type the network classes throw: a number, the routine it came from and a
// description, as the game's error reports show them.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace net {

class NetError : public std::runtime_error {
 public:
  NetError(int32_t number, std::string source, std::string description)
      : std::runtime_error(description),
        Number(number),
        Source(std::move(source)),
        Description(std::move(description)) {}

  int32_t Number;
  std::string Source;
  std::string Description;
};

// Run-time errors the classes raise besides the socket and FTP numbers.
constexpr int32_t kErrInvalidCall = 5;        // "Invalid procedure call or argument"
constexpr int32_t kErrOverflow = 6;           // "Overflow"
constexpr int32_t kErrTypeMismatch = 13;      // "Type mismatch"
constexpr int32_t kErrInternal = 51;          // "Internal error"
constexpr int32_t kErrFileNotFound = 53;      // "File not found"
constexpr int32_t kErrFileAccess = 75;        // "Path/File access error"
constexpr int32_t kErrInvalidProperty = 380;  // "Invalid property value."

}  // namespace net
