#pragma once

#include "tests/e2e/DriverCommand.h"

namespace E2E {

bool waitGone(DriverState& state, Arguments arguments);
bool waitLog(DriverState& state, Arguments arguments);
bool holdFile(DriverState& state, Arguments arguments);

} // namespace E2E
