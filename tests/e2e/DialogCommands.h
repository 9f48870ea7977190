#pragma once

#include "tests/e2e/DriverCommand.h"

namespace E2E {

bool addFiles(DriverState& state, Arguments arguments);
bool addFolder(DriverState& state, Arguments arguments);
bool answerBox(DriverState& state, Arguments arguments);

} // namespace E2E
