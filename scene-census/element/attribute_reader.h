// The reader moved to platform/ so that hit-probe shares it.
#pragma once

#include "platform/attribute_reader.h"
