// What the command-line tools need to know about their console.
#pragma once

namespace platform {

// True when standard error is a terminal (so a progress line may be redrawn in place).
bool StandardErrorIsTerminal();

}  // namespace platform
