#pragma once

#include "tests/e2e/DriverCommand.h"

namespace E2E {

bool answerBox(DriverState& state, Arguments arguments);

} // namespace E2E
