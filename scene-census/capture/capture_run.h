// The scene-census run: configuration, window list, target choice, capture
// and the printed JSON object.
#pragma once

#include "platform/program.h"

namespace tessary {

int runSceneCensus(ProgramContext& context);

}  // namespace tessary
