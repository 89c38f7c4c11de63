#pragma once
// A started main form holding n blocks in a compact table.
#include "benchmap.h"
#include "support/person.h"
#include "support/tempdir.h"

#include <benchmark/benchmark.h>

namespace qs::bench {

// With the history and a recovery copy in place, as the program has them;
// `bare` takes away what hangs off the end of a person's action, to measure
// what it costs.
struct Bench {
    explicit Bench(int n, bool bare = false) : h(true, dir.file("recovery.QRD")), f(h.form), p(h.form) {
        h.load(n, benchblock);
        f.refreshmap();
        if (bare) {
            f.dispatch.onactionbegin = nullptr;
            f.dispatch.onactionend = nullptr;
        }
    }
    test::TempDir dir;
    test::Harness h;
    MainForm& f;
    test::Person p;
};

} // namespace qs::bench
