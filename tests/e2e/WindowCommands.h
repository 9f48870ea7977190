#pragma once

#include "tests/e2e/DriverCommand.h"

namespace E2E {

bool waitWindow(DriverState& state, Arguments arguments);
bool expectWindows(DriverState& state, Arguments arguments);
bool minimizeWindow(DriverState& state, Arguments arguments);
bool takeFront(DriverState& state, Arguments arguments);
bool expectFront(DriverState& state, Arguments arguments);
bool postCommand(DriverState& state, Arguments arguments);

} // namespace E2E
