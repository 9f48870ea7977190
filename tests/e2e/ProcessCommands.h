#pragma once

#include "tests/e2e/DriverCommand.h"

namespace E2E {

bool startProgram(DriverState& state, Arguments arguments);
bool startIn(DriverState& state, Arguments arguments);
bool startTogether(DriverState& state, Arguments arguments);
bool runProgram(DriverState& state, Arguments arguments);
bool runLine(DriverState& state, Arguments arguments);
bool expectExit(DriverState& state, Arguments arguments);

// After a failed step: a started program still running is ended, so that nothing waits for it.
void endProgram(DriverState& state) noexcept;

} // namespace E2E
