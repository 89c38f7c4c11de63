#include "benchmap.h"
#include "formats/scene.h"
#include <chrono>
#include <cmath>
#include <cstdio>
using namespace qs;
int main() {
    BlockTable t{};
    for (int i = 0; i < 1000; ++i)
        t[i] = bench::benchblock(i);
    for (int k = 0; k < 3; ++k) {
        auto a = std::chrono::steady_clock::now();
        formats::Scene s;
        for (int r = 0; r < 20; ++r)
            s = formats::scenefrom(t, 0, 1000);
        auto b = std::chrono::steady_clock::now();
        std::string g;
        for (int r = 0; r < 20; ++r)
            g = formats::togltf(s, true);
        auto c = std::chrono::steady_clock::now();
        std::printf("scene %.3f ms, glb %.3f ms, %zu bytes\n",
                    std::chrono::duration<double, std::milli>(b - a).count() / 20,
                    std::chrono::duration<double, std::milli>(c - b).count() / 20, g.size());
    }
}
