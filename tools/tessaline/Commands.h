// The tool's command groups; each takes the arguments after its group name.
#pragma once

#include "Output.h"

namespace tessaline::tool {

int RunTextCommand(Args args);

}  // namespace tessaline::tool
