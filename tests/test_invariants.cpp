// A person's random actions on the window, with the window's invariants
// checked after every one, and undo and redo of each one checked too. A
// failure prints the seed and the last actions, so the run can be replayed.
#include "support/actor.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <iostream>
#include <random>

using namespace qs;
using namespace qs::test;

TEST(Invariants, HoldAndUndoIsExactAfterEveryRandomAction) {
    int deepest = 0;
    TempDir dir;
    for (std::uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
        Harness h(true);
        std::mt19937 gen(seed);
        Actor actor(h, [&gen] { return static_cast<std::uint32_t>(gen()); }, dir.file(""));
        for (int step = 0; step < 4000; ++step) {
            const std::string fault = actor.step();
            deepest = std::max(deepest, h.form.dispatch.maxdepth());
            ASSERT_TRUE(fault.empty()) << "seed " << seed << ", action " << step << ": " << fault
                                       << "\nlast actions:\n"
                                       << actor.recent();
        }
    }
    std::cout << "deepest notification nesting: " << deepest << "\n";
    EXPECT_LT(deepest, kNestingBound);
}
