#pragma once
// A started main form holding n blocks in a compact table.
#include "benchmap.h"
#include "support/person.h"

#include <benchmark/benchmark.h>

namespace qs::bench {

struct Bench {
    explicit Bench(int n) : h(true), f(h.form), p(h.form) {
        h.load(n, benchblock);
        f.refreshmap();
    }
    test::Harness h;
    MainForm& f;
    test::Person p;
};

} // namespace qs::bench
