#pragma once

#include "tests/e2e/DriverCommand.h"

// Steps that only the screenshot script (scripts/screenshot) needs.
namespace E2E {

bool clickControl(DriverState& state, Arguments arguments);
bool pause(DriverState& state, Arguments arguments);
bool captureWindow(DriverState& state, Arguments arguments);
bool printDocumentsFolder(DriverState& state, Arguments arguments);

} // namespace E2E
