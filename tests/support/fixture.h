#pragma once
// A started window and a person to work it, for test fixtures.
#include "document/rowtext.h"
#include "support/transcript.h"

#include <gtest/gtest.h>

#include <string>

namespace qs::test {

// The free slot's row, as a string the assertions can compare.
inline const std::string kFree = kFreeSlotRow;

struct Started : ::testing::Test, Transcript {};

} // namespace qs::test
