#pragma once
// Pure helpers of the map drawing.
#include "document/block.h"
#include "document/footprint.h"

namespace qs {

// Rounds to one decimal, a half going up: floor(no × 10 + 0.5) / 10.
double round10(double no);

} // namespace qs
