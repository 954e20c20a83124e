// The real message boxes (SDL's, echoed to standard error). Internal to platform/.
#pragma once

#include <memory>

#include "platform/dialogs.h"

namespace platform {

std::unique_ptr<Dialogs> MakeSdlDialogs();

}  // namespace platform
