// The map window's and the 3D view's geometry: zoom and fit, the grid, the
// block under the pointer, and the boxes, each pixel the nearest face.
#include "mapview/boxdraw.h"
#include "mapview/raster.h"
#include "mapview/views.h"
#include "support/harness.h"

#include <gtest/gtest.h>

using namespace qs;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(PlanView, ZoomPanAndFit) {
    // Zooms far in and far out keep the scale within its bounds.
    const std::pair<Pixel, double> zooms[] = {
        {{0, 0}, 2},      {{640, 480}, 0.5}, {{123.5, 77.25}, 1.25},
        {{10, 700}, 1e9}, {{300, 20}, 1e-3}, {{320, 240}, 1e-60}};
    for (auto [at, factor] : zooms) {
        PlanView view{640, 480, 8, {17.5, 37.5}};
        const MapPoint before = view.tomap(at);
        view.zoomabout(at, factor);
        const MapPoint after = view.tomap(at);
        EXPECT_NEAR(after.z, before.z, 1e-9 * (1 + std::fabs(before.z))) << factor;
        EXPECT_NEAR(after.x, before.x, 1e-9 * (1 + std::fabs(before.x))) << factor;
        EXPECT_TRUE(view.scale >= kMinScale && view.scale <= kMaxScale) << view.scale;
    }
    // Fitted, every drawn block shows. The last table's second and third blocks are not drawn:
    // beyond the depth window, or no size.
    const BlockTable tables[] = {
        {Block{10, 5, 2, 1, 0, 1, 30}},
        {Block{0, 0, 1, 1, 0, 1}, Block{500, -300, 4, 9, 0, 1, 45}, Block{kNaN, 1, 1, 1}},
        {Block{3e37f, -2e37f, 1e36f, 1, 0, 1, 10}, Block{0, 0, 1, 1, 0, 1}},
        {Block{1, 1, 1, 1, 0, 1}, Block{900, 900, 1, 1, 2000, 1}, Block{-900, 0, 0, 5}}};
    for (const BlockTable& table : tables) {
        PlanView view{400, 300};
        view.fit(drawnbox(table, {}).value());
        for (const Block& b : table) {
            if (!drawnwithin(b, Look{}.mind, Look{}.maxd)) continue;
            for (const Corner& k : blockcorners(b)) {
                if (!std::isfinite(k.h) || !std::isfinite(k.v)) continue;
                const Pixel p = view.topixel({k.h, k.v});
                EXPECT_TRUE(p.h >= 0 && p.h <= 400 && p.v >= 0 && p.v <= 300) << k.h << "," << k.v;
            }
        }
    }
    PlanView fitted{400, 300};
    fitted.fit({0, 100, 10, 110}); // a margin of 24 pixels above
    EXPECT_NEAR(fitted.topixel({0, 110}).v, 24, 1e-9);
    // The fourth table's far blocks are not drawn, so they do not count.
    EXPECT_EQ(drawnbox(tables[3], {})->zmax, 2);
    EXPECT_FALSE(drawnbox(BlockTable{}, {}));
}

TEST(Grid, StepsLabelsAndLines) {
    // The scale, and the step.
    const std::pair<double, double> steps[] = {{8, 10},     {1, 100},  {64, 1},    {100, 1},
                                               {1000, 0.1}, {3.2, 20}, {0.5, 200}, {13, 5}};
    for (auto [scale, step] : steps)
        EXPECT_DOUBLE_EQ(gridstep(scale), step) << scale;
    const double sum = 0.1 + 0.2; // 0.30000000000000004
    const std::tuple<double, double, const char*> labels[] = {
        {2.5, 0.5, "2.5"},           {-20, 10, "-20"},        {1e-17, 0.1, "0"},
        {1e40, 1e39, "1e+40"},       {0.05, 0.01, "0.05"},    {2e7, 1e7, "2e+07"},
        {1e7, 1, "1e+07"},           {9999999, 1, "9999999"}, {1.5, 3, "2"},
        {-0.04, 0.1, "0"},           {sum, 0.1, "0.3"},       {3e-5, 1e-5, "3e-05"},
        {123.0001, 1e-4, "123.0001"}};
    for (auto [value, step, text] : labels)
        EXPECT_EQ(gridlabel(value, step), text) << value;
    EXPECT_EQ(gridlines(-20, 55, 10), (std::vector<double>{-20, -10, 0, 10, 20, 30, 40, 50}));
    EXPECT_EQ(gridlines(0.5, 0.9, 1), std::vector<double>{});
    // At most 10,000 lines: no grid of a billion.
    EXPECT_EQ(std::pair(gridlines(0, 9999, 1).size(), gridlines(0, 10000, 1).size()),
              std::pair(std::size_t{10000}, std::size_t{0}));
    EXPECT_EQ(gridlines(0, std::numeric_limits<double>::quiet_NaN(), 1), std::vector<double>{});
}

TEST(BlockAt, FindsTheHighestDrawnSlotWhoseOutlineHoldsThePoint) {
    // Slot 1 lies over slot 0; slot 2 is turned by 45 degrees; slot 3 lies
    // beyond the depth window; slot 4 is not a number; the last slot is
    // looked at too.
    BlockTable table{Block{10, 10, 4, 4, 0, 1}, Block{11, 11, 1, 1, 0, 1},
                     Block{30, 30, 2, 2, 0, 1, 45}, Block{50, 50, 5, 5, 500, 1},
                     Block{kNaN, 70, 5, 5, 0, 1}};
    table[kSlots - 1] = Block{1, 1, 1, 1, 0, 1};
    const Look look{0, 100, true, -1};
    const std::pair<MapPoint, int> points[] = {
        {{11, 11}, 1},      {{7, 7}, 0},    {{13.9, 6.1}, 0}, {{14.1, 10}, -1},    {{30, 32.8}, 2},
        {{31.9, 31.9}, -1}, {{50, 50}, -1}, {{70, 0}, -1},    {{1, 1}, kSlots - 1}};
    for (auto [p, slot] : points)
        EXPECT_EQ(blockat(table, look, p), slot) << p.z << "," << p.x;
    EXPECT_EQ(blockat(table, {0, 1000, true, -1}, {50, 50}), 3);
}

TEST(BoxCamera, LooksDownOnTheMapAsTheMapWindowDoes) {
    const BoxCamera top{400, 300, 0, 90, 10, {5, 5, 0}}, deep{400, 300, 0, 90, 10, {5, 5, 0}, true};
    // With perspective, the target's plane keeps its scale and what is
    // nearer the eye is larger: 40 degrees from top to bottom. From above,
    // Z is across, X up, and height towards the eye.
    const double eye = 150 / (10 * std::tan(20 * M_PI / 180));
    const BoxCamera raised{400, 300, 0, 90, 10, {5, 5, 3}}, turned{400, 300, 30, 35, 10, {5, 5, 3}};
    const std::pair<double, double> projected[] = {
        {deep.project(6, 5, 0).h, 210},  {deep.project(6, 5, 1).h, 200 + 10 * eye / (eye - 1)},
        {top.project(5, 5, 0).h, 200},   {top.project(5, 5, 0).v, 150},
        {top.project(6, 5, 0).h, 210},   {top.project(5, 6, 0).v, 140},
        {top.project(5, 5, 7).v, 150},   {raised.project(5, 6, 3).v, 140},
        {turned.project(5, 5, 3).v, 150}};
    for (const auto& [got, want] : projected)
        EXPECT_NEAR(got, want, 1e-9);
    EXPECT_TRUE(std::isnan(deep.project(5, 5, eye + 1).h)); // behind the eye
    double near = 0, far = 0;
    top.project(5, 5, 7, &near);
    top.project(5, 5, 0, &far);
    EXPECT_LT(near, far);
    // Reset looks at the drawn blocks only, and at finite heights.
    BoxCamera a, b;
    const Block low{10, 10, 2, 2, 0, 5}, high{10, 10, 2, 2, 600, 400};
    const BlockTable one{low}, more{low, high, Block{10, 10, 2, 2, 0, INFINITY}};
    a.reset(one, {0, 100, true, -1});
    b.reset(more, {0, 100, true, -1});
    EXPECT_EQ(std::pair(a.scale, a.target), std::pair(b.scale, b.target));
    b.reset(BlockTable{Block{10, 10, 0.1f, 0.1f, 0, 0.1f}}, {}); // a unit across, at least
    EXPECT_DOUBLE_EQ(b.scale, std::min(b.width, b.height) / 1.2);
    // The pitch stays between level and straight down, the yaw goes round.
    BoxCamera side{400, 300, 0, 5, 10, {0, 0, 0}};
    // Last, 400 degrees round.
    const std::array<double, 4> orbits[] = {{0, -1000, 5, 0}, {0, 1000, 90, 0}, {1000, 0, 90, -40}};
    for (auto [dh, dv, pitch, yaw] : orbits) {
        side.orbit(dh, dv);
        EXPECT_EQ(std::pair(side.pitch, side.yaw), std::pair(pitch, yaw));
    }
    // Framing a block looks at its middle, height included.
    side.frame(more, {}, {1});
    EXPECT_EQ(side.target, (std::array<double, 3>{10, 10, 800}));
    side.frame(more, {}, {0, 1}); // from the lower's bottom to the higher's top
    EXPECT_EQ(side.target[2], 500);
}

// Which block a ray from `from` along `way` (Z, X, height) meets first: -1
// for none. Each box is three slabs, along Size X, Size Z and up.
int raycast(const BlockTable& table, std::array<double, 3> from, std::array<double, 3> way) {
    int hit = -1;
    double nearest = INFINITY;
    for (int slot = 0; slot < kSlots; ++slot) {
        const Block& b = table[static_cast<std::size_t>(slot)];
        if (!(b.sizex > 0 && b.sizez > 0)) continue;
        const double a = b.angle * M_PI / 180, c = std::cos(a), s = std::sin(a);
        const double top = static_cast<float>(b.bottom + b.height);
        const double dz = from[0] - b.z, dx = from[1] - b.x;
        // Where the ray starts and how it goes, across each slab.
        const double start[3] = {dz * c + dx * s, -dz * s + dx * c, from[2]};
        const double go[3] = {way[0] * c + way[1] * s, -way[0] * s + way[1] * c, way[2]};
        const double lo[3] = {-b.sizex, -b.sizez, std::min<double>(b.bottom, top)};
        const double hi[3] = {b.sizex, b.sizez, std::max<double>(b.bottom, top)};
        double enter = -INFINITY, leave = INFINITY;
        for (int i = 0; i < 3; ++i) {
            const double t0 = (lo[i] - start[i]) / go[i], t1 = (hi[i] - start[i]) / go[i];
            enter = std::max(enter, std::min(t0, t1)), leave = std::min(leave, std::max(t0, t1));
        }
        if (enter <= leave && enter > 0 && enter < nearest) nearest = enter, hit = slot;
    }
    return hit;
}

// A picture of w by h pixels, with the block each pixel shows.
struct Picture {
    Picture(int w, int h)
        : pixels(static_cast<std::size_t>(w * h)), raster(pixels.data(), w, h, w) {}
    std::vector<Argb> pixels;
    Raster raster;
    DepthBuffer buffer;
    void draw(const BlockTable& table, const BoxCamera& camera, const Ground& ground) {
        drawboxes(raster, buffer, table, {}, camera, ground);
    }
};

TEST(BoxPicture, EachPixelShowsTheBlockARayThroughItMeetsFirst) {
    BlockTable table{};
    std::ranges::copy(test::interlocking(), table.begin());
    // Close up, faces reach far beyond the picture, and behind the eye.
    for (const auto& [perspective, zoom] :
         {std::pair{false, 1.0}, {true, 1.0}, {false, 8.0}, {true, 12.0}}) {
        BoxCamera camera{160, 120};
        camera.reset(table, {});
        camera.perspective = perspective;
        camera.zoom(zoom);
        const Ground ground{0xFF000000, 0xFF404040, 0xFF808080, groundbox(table, {})};
        Picture picture(160, 120), parts(160, 120);
        picture.draw(table, camera, ground);
        // Drawn in parts, each part with its own depths, it is the picture
        // drawn whole.
        for (const auto& [l, t, r, bottom] :
             {std::array{0, 0, 70, 50}, {70, 0, 160, 50}, {0, 50, 160, 120}}) {
            parts.raster.clip(l, t, r, bottom);
            parts.draw(table, camera, ground);
        }
        EXPECT_EQ(picture.pixels, parts.pixels) << perspective << zoom;
        EXPECT_EQ(picture.buffer.owners, parts.buffer.owners) << perspective << zoom;
        // The camera's axes on the map: looking along f, r to the right, u up.
        const double y = camera.yaw * M_PI / 180, p = camera.pitch * M_PI / 180;
        const double sy = std::sin(y), cy = std::cos(y), sp = std::sin(p), cp = std::cos(p);
        const std::array f{sy * cp, cy * cp, -sp}, r{cy, -sy, 0.0}, u{sy * sp, cy * sp, cp};
        const auto ray = [&](double px, double py) {
            const double across = (px - 80) / camera.scale, up = (60 - py) / camera.scale;
            std::array<double, 3> from, way;
            const double back = perspective ? camera.distance() : 1e4;
            for (std::size_t i = 0; i < 3; ++i) {
                const double onplane = camera.target[i] + r[i] * across + u[i] * up;
                from[i] = perspective ? camera.target[i] - f[i] * back : onplane - f[i] * back;
                way[i] = perspective ? onplane - from[i] : f[i];
            }
            return raycast(table, from, way);
        };
        int compared = 0, shown = 0;
        std::set<int> seen;
        for (int py = 0; py < 120; ++py)
            for (int px = 0; px < 160; ++px) {
                const int want = ray(px + 0.5, py + 0.5);
                // On an edge, where a pixel's corners see different blocks,
                // either may show.
                if (ray(px + 0.05, py + 0.05) != want || ray(px + 0.95, py + 0.05) != want ||
                    ray(px + 0.05, py + 0.95) != want || ray(px + 0.95, py + 0.95) != want)
                    continue;
                ++compared;
                shown += want >= 0;
                seen.insert(want);
                ASSERT_EQ(picture.buffer.slotat(px, py), want) << px << "," << py << perspective;
            }
        EXPECT_GT(compared, 160 * 120 * 9 / 10);
        EXPECT_GT(shown, 160 * 120 / 4);
        // Zoomed out, every block shows, and the ground.
        EXPECT_TRUE(zoom != 1 || seen.size() == 9u) << seen.size() << perspective;
    }
}

// The current block's and a selected block's marks show where they are
// seen and never over a nearer face.
TEST(BoxPicture, MarksAreHiddenBehindNearerFacesAndTheCurrentBlocksEdgesAreWhiteWithinBlack) {
    // Looking along +X: a wall (0) in front of a block (1) that stands out
    // above it and to its side, and a selected block (2) wholly behind it.
    const BlockTable table{Block{10, 0, 1, 6, 0, 8}, Block{20, 4, 3, 3, 0, 12},
                           Block{20, -2, 1, 1, 0, 2}};
    const BoxCamera camera{120, 90, 0, 20, 4, {0, 15, 5}};
    Picture picture(120, 90);
    picture.draw(table, camera, {0xFF000000, 0xFF000000, 0xFF000000, groundbox(table, {})});
    const std::vector<Argb> plain = picture.pixels;
    drawboxmarks(picture.raster, picture.buffer, table, {.current = 1, .selected = 0b110}, camera);
    int shown = 0;
    for (std::size_t i = 0; i < plain.size(); ++i)
        if (plain[i] != picture.pixels[i]) {
            ++shown;
            // Never over the wall.
            EXPECT_NE(picture.buffer.slotat(int(i % 120), int(i / 120)), 0) << i;
        }
    EXPECT_GT(shown, 40);
    // The current block's edges are white within black all round, so they read
    // on any colour: each white pixel's four neighbours are marked too.
    const BlockTable cube{Block{0, 0, 5, 5, 0, 5, 30, 0x808080}};
    BoxCamera view{80, 80};
    view.reset(cube, {});
    Picture lone(80, 80);
    lone.draw(cube, view, {0xFF4080C0, 0xFF4080C0, 0xFF4080C0, {}});
    drawboxmarks(lone.raster, lone.buffer, cube, {.current = 0}, view);
    const Raster& r = lone.raster;
    const auto marked = [&](int x, int y) {
        return r.at(x, y) == 0xFFFFFFFF || r.at(x, y) == 0xFF000000;
    };
    // The black is a pixel wide: but for a few at the corners, where the near
    // faces hide the white, each black pixel touches a white one.
    const auto touches = [&](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (r.at(x + dx, y + dy) == 0xFFFFFFFF) return true;
        return false;
    };
    int white = 0, apart = 0;
    const auto [left, top, right, bottom] = *boxpixels(cube[0], {}, view); // the marks within
    for (int y = 1; y < 79; ++y)
        for (int x = 1; x < 79; ++x) {
            EXPECT_TRUE(!marked(x, y) || (x >= left && x < right && y >= top && y < bottom));
            if (r.at(x, y) == 0xFFFFFFFF) {
                ++white;
                for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
                    EXPECT_TRUE(marked(x + dx, y + dy)) << x << "," << y;
            } else {
                apart += r.at(x, y) == 0xFF000000 && !touches(x, y);
            }
        }
    EXPECT_GT(white, 60);
    EXPECT_LT(apart, 10);
    // Selected but not current, it has thin dashes: less white.
    lone.draw(cube, view, {0xFF4080C0, 0xFF4080C0, 0xFF4080C0, {}});
    drawboxmarks(lone.raster, lone.buffer, cube, {.selected = 1}, view);
    EXPECT_LT(std::count(lone.pixels.begin(), lone.pixels.end(), 0xFFFFFFFF), white * 2 / 3);
}

// Seen from straight above, a box shows its top, lit the most.
TEST(BoxPicture, ATopIsLitTheMost) {
    // The light scales each channel, and keeps within 0 to 1.
    EXPECT_EQ((std::array{shade(0xFFFFFF, 0.5), shade(0x0000FF, 1), shade(0x123456, 0),
                          shade(0xFF8040, 2)}),
              (std::array{0x808080, 0x0000FF, 0, 0xFF8040}));
    const BlockTable table{Block{0, 0, 5, 5, 0, 2, 0, 0x20FF80}};
    const BoxCamera camera{40, 30, 0, 90, 2, {0, 0, 2}};
    const auto lit = [](double light) { return argb(shade(tocol(0x20FF80), light)); };
    Picture picture(40, 30);
    picture.draw(table, camera, {0, 0, 0, groundbox(table, {})});
    EXPECT_EQ(std::pair(picture.raster.at(20, 15), picture.buffer.slotat(20, 15)),
              std::pair(lit(0.85), 0));
    // Drawn again in part, the rest keeps its blocks, the part is cleared.
    picture.raster.clip(0, 0, 20, 30);
    picture.raster.keepdepth(picture.buffer);
    EXPECT_EQ(std::pair(picture.buffer.slotat(19, 15), picture.buffer.slotat(20, 15)),
              std::pair(-1, 0));
    // From beside: the sides toward the light, over the map's top and left,
    // are lit more than those away from it.
    for (const auto& [yaw, light] :
         {std::pair{180.0, 0.35 + 0.5 * 0.55}, {0.0, 0.35}, {90.0, 0.35 + 0.5 * 0.45}}) {
        Picture side(40, 30);
        side.draw(table, {40, 30, yaw, 0, 2, {0, 0, 1}}, {0, 0, 0, groundbox(table, {})});
        EXPECT_EQ(side.raster.at(20, 15), lit(light)) << yaw;
        const auto row = std::span(side.pixels).subspan(15 * 40, 40); // no dark edge down a side
        EXPECT_EQ(std::ranges::count(row, lit(light)), 40 - std::ranges::count(row, 0u)) << yaw;
    }
    // A plate of no height on the ground is its top, seen from above, over
    // the grid's axes, which show beside it.
    const BlockTable plate{Block{0, 0, 5, 5, 0, 0, 0, 0x20FF80}};
    Picture above(40, 30);
    above.draw(plate, camera, {0, 0xFF111111, 0xFF222222, groundbox(plate, {})});
    EXPECT_EQ(std::pair(above.raster.at(19, 15), above.raster.at(20, 15)),
              std::pair(lit(0.85), lit(0.85)));
    EXPECT_TRUE(above.raster.at(19, 2) == 0xFF222222 || above.raster.at(20, 2) == 0xFF222222);
    EXPECT_TRUE(above.raster.at(2, 14) == 0xFF222222 || above.raster.at(2, 15) == 0xFF222222);
}

// A polygon is cut to a rectangle, keeping what lies inside it. The raster
// fills the pixels whose centres a polygon holds, and draws a line's pixels
// the same whatever part of the picture is drawn.
TEST(Raster, PolygonsAreCutAndFillThePixelsTheyHoldAndLinesKeepTheirDashesWhenCut) {
    const std::vector<Pixel> huge{{-1e30, -1e30}, {1e30, -1e30}, {1e30, 1e30}, {-1e30, 1e30}};
    const std::vector<Pixel> square{{-10, -10}, {10, -10}, {10, 10}, {-10, 10}};
    const auto area = [](const std::vector<Pixel>& p) {
        double a = 0;
        for (std::size_t i = 0, j = 1; i < p.size(); ++i, j = (i + 1) % p.size())
            a += p[i].h * p[j].v - p[j].h * p[i].v;
        return std::fabs(a) / 2;
    };
    EXPECT_DOUBLE_EQ(area(cutpolygon(square, 0, 0, 100, 100)), 100);
    EXPECT_DOUBLE_EQ(area(cutpolygon(square, -5, -20, 5, 20)), 200);
    EXPECT_DOUBLE_EQ(area(cutpolygon(square, -100, -100, 100, 100)), 400);
    EXPECT_TRUE(cutpolygon(square, 20, 20, 30, 30).empty());
    // Corners on the rectangle's edges are kept once, with no crossing added.
    EXPECT_EQ(cutpolygon(square, -10, -10, 10, 10).size(), 4u);
    EXPECT_EQ(cutpolygon({{0, 0}, {10, 0}, {20, 10}, {0, 10}}, -5, -5, 10, 20).size(), 4u);
    EXPECT_DOUBLE_EQ(area(cutpolygon(huge, 0, 0, 640, 480)), 640 * 480);
    Picture whole(40, 30), half(40, 30);
    Raster &r = whole.raster, &parts = half.raster;
    const auto count = [&](Argb c) { return std::ranges::count(whole.pixels, c); };
    const Block turned{15, 20, 12, 6, 0, 1, 30};
    std::vector<Pixel> corners;
    for (const Corner& c : blockcorners(turned))
        corners.push_back({c.h, c.v});
    r.fill(0);
    r.polygon(corners, 1);
    BlockTable one{turned};
    int inside = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool holds = blockat(one, {}, {x + 0.5, y + 0.5}) == 0;
            inside += holds;
            EXPECT_EQ(r.at(x, y), holds ? 1u : 0u) << x << "," << y;
        }
    EXPECT_GT(inside, 200);
    // Far out, or not numbers: cut, or nothing.
    r.fill(0);
    r.polygon(huge, 2);
    r.polygon(std::vector<Pixel>{{0, 0}, {kNaN, 5}, {9, 9}}, 3);
    EXPECT_EQ(count(2u), 40 * 30);
    // A triangle: the 45 centres inside it; those on its long edge are left
    // to the shape beside it.
    r.polygon(std::vector<Pixel>{{0, 0}, {10, 0}, {0, 10}}, 4);
    EXPECT_EQ(count(4u), 45);
    // Two triangles make a square through pixel centres: each centre on its
    // left and top edges is the square's, the diagonal's of one of them.
    r.keepdepth(whole.buffer);
    r.triangle({20.5, 0.5, 1}, {23.5, 0.5, 1}, {23.5, 3.5, 1}, 8, 0);
    r.triangle({20.5, 0.5, 1}, {23.5, 3.5, 1}, {20.5, 3.5, 1}, 9, 1);
    EXPECT_EQ(count(8) + count(9), 9);
    EXPECT_EQ(whole.buffer.slotat(20, 0), 0);
    r.triangle({10, 10, -INFINITY}, {-5, 0, 1}, {0, -5, 1}, 7, 2); // an infinite depth: nothing
    EXPECT_EQ(count(7), 0);
    // A dashed line drawn whole, and again in two halves of the picture.
    r.fill(0), parts.fill(0);
    r.line({0.5, 2.5}, {39.5, 27.5}, 5, 3, 2);
    parts.clip(0, 0, 17, 30);
    parts.line({0.5, 2.5}, {39.5, 27.5}, 5, 3, 2);
    parts.clip(17, 0, 40, 30);
    parts.line({0.5, 2.5}, {39.5, 27.5}, 5, 3, 2);
    EXPECT_EQ(whole.pixels, half.pixels);
    EXPECT_EQ(count(5u), 24); // 40 steps, 3 of every 5
    // A rectangle fills the pixels whose centres it holds; a line from far
    // out covers the pixels it crosses here.
    r.fill(0);
    r.fillrect(0.55, 0.55, 3.55, 3.55, 6);
    r.line({-1e7, -1e7 + 15.5}, {1e7, 1e7 + 15.5}, 7);
    r.line({20, 0}, {26, 0}, 8); // along the top edge, both ends drawn
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool box = x >= 1 && x <= 3 && y >= 1 && y <= 3;
            const bool top = y == 0 && x >= 20 && x <= 26;
            EXPECT_EQ(r.at(x, y), box ? 6u : y == x + 15 ? 7u : top ? 8u : 0u) << x << "," << y;
        }
}
