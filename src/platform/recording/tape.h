// The tape a game's machine answers go on: what the clock, the devices, the pump and the
// boxes told the game, each kind of answer a stream of its own kept in the order the game
// took it, one line of the file per pass. Written while recording, read back to replay.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialogs.h"
#include "platform/display.h"

namespace platform {

// The kinds of answer. A pass's line names each by its letter (kStreamLetters).
enum class Stream : uint8_t {
  Start,    // i: the devices coming up: video, mode list, device, sound, effects
  Clock,    // t: tick counts, each as its difference from the one before
  Level,    // d: the display device's state at the start of each pass
  Acquire,  // a: whether the keyboard or the mouse could be acquired
  Keys,     // k: the keyboard state at each poll
  Mouse,    // m: the mouse records each read of the device delivered
  Events,   // e: what each round of the message pump delivered, in order
  Music,    // s: the tune's play state, position and length
  Plays,    // f: whether an effect started (a buffer still playing is not restarted)
  Boxes,    // b: the answer of each message box
  Count
};
constexpr int kStreamCount = static_cast<int>(Stream::Count);
inline constexpr char kStreamLetters[] = "itdakmesfb";

// The format this build writes and reads.
constexpr int kRecordingFormat = 1;
inline constexpr char kRecordingMagic[] = "brikka-recording";

// Values of its own a game starts from besides the files (NAME, VALUE), in the header.
using StartValues = std::vector<std::pair<std::string, std::string>>;

// A recording that cannot be read, or a replay that left it; the text names the line.
struct ReplayError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Tape {
 public:
  virtual ~Tape() = default;
  virtual bool Replaying() const = 0;
  // Recording: the stream's next answer, as a token (see tape_tokens.h).
  virtual void Put(Stream s, std::string token) = 0;
  // Replaying: the stream's next answer as recorded; throws ReplayError when the pass holds
  // no more of them.
  virtual std::string Take(Stream s) = 0;
  // A pass begins: the game asks the display device for its state.
  virtual void BeginPass() = 0;
};

// What the machine showed of itself, kept alike while recording and while replaying, so
// that the state dumped at the end of a recording and at the same point of its replay
// agree: the last tick count, the effects that started and the boxes shown since the last
// look, the tune as the player last told it, the texts of the last presented frame.
struct Witness {
  int32_t time = 0;
  std::vector<std::string> sounds;
  std::vector<RecordedMessage> messages;
  std::string music_url;
  int music_state = 0;
  int music_starts = 0;  // how often the tune started from its beginning
  std::vector<DrawnText> frame_texts, texts;
};

}  // namespace platform
