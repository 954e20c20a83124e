// Console queries for the command-line tools.
#include "platform/console.h"

#include <unistd.h>

namespace platform {

bool StandardErrorIsTerminal() {
  return isatty(STDERR_FILENO) == 1;
}

}  // namespace platform
