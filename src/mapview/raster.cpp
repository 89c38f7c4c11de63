#include "mapview/raster.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qs {

namespace {

constexpr float kFar = std::numeric_limits<float>::infinity();

// The part of the segment a-b within [left, right] x [top, bottom], as the
// range of its parameter from a (0) to b (1); false when none is.
bool cutsegment(Pixel a, Pixel b, double left, double top, double right, double bottom, double& t0,
                double& t1) {
    t0 = 0, t1 = 1;
    const double dx = b.h - a.h, dy = b.v - a.v;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.h - left, right - a.h, a.v - top, bottom - a.v};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}

bool finite(Pixel p) {
    return std::isfinite(p.h) && std::isfinite(p.v);
}

} // namespace

Raster::Raster(Argb* pixels, int width, int height, int stride)
    : pixels_(pixels), width_(width), height_(height), stride_(stride), right_(width),
      bottom_(height) {}

void Raster::clip(int left, int top, int right, int bottom) {
    left_ = std::clamp(left, 0, width_), right_ = std::clamp(right, left_, width_);
    top_ = std::clamp(top, 0, height_), bottom_ = std::clamp(bottom, top_, height_);
}

void Raster::fill(Argb colour) {
    for (int y = top_; y < bottom_; ++y)
        std::fill(&pixel(left_, y), &pixel(left_, y) + (right_ - left_), colour);
}

void Raster::fillrect(double left, double top, double right, double bottom, Argb colour) {
    if (!(left < right && top < bottom)) return;
    const int x0 =
        static_cast<int>(std::clamp(std::ceil(left - 0.5), double(left_), double(right_)));
    const int x1 =
        static_cast<int>(std::clamp(std::ceil(right - 0.5), double(left_), double(right_)));
    const int y0 =
        static_cast<int>(std::clamp(std::ceil(top - 0.5), double(top_), double(bottom_)));
    const int y1 =
        static_cast<int>(std::clamp(std::ceil(bottom - 0.5), double(top_), double(bottom_)));
    for (int y = y0; y < y1; ++y)
        std::fill(&pixel(x0, y), &pixel(x0, y) + (x1 - x0), colour);
}

void Raster::polygon(std::span<const Pixel> corners, Argb colour) {
    if (corners.size() < 3 || !std::all_of(corners.begin(), corners.end(), finite)) return;
    double xmin = corners[0].h, xmax = xmin, ymin = corners[0].v, ymax = ymin;
    for (const Pixel& c : corners) {
        xmin = std::min(xmin, c.h), xmax = std::max(xmax, c.h);
        ymin = std::min(ymin, c.v), ymax = std::max(ymax, c.v);
    }
    if (xmax < left_ || xmin > right_ || ymax < top_ || ymin > bottom_) return;
    // A polygon reaching far out is cut to the picture first, so its corners
    // never reach the sums.
    const double reach = 4.0 * (width_ + height_) + 64;
    std::vector<Pixel> cut;
    std::span<const Pixel> p = corners;
    if (xmin < -reach || ymin < -reach || xmax > reach || ymax > reach) {
        cut = cutpolygon({corners.begin(), corners.end()}, left_ - 1.0, top_ - 1.0, right_ + 1.0,
                         bottom_ + 1.0);
        if (cut.size() < 3) return;
        p = cut;
        ymin = ymax = p[0].v;
        for (const Pixel& c : p)
            ymin = std::min(ymin, c.v), ymax = std::max(ymax, c.v);
    }
    // Each edge that spans rows: where it starts and how far it goes across
    // a row down.
    struct Edge {
        double top, bottom, x, slope;
    };
    Edge edges[16];
    std::size_t count = 0;
    for (std::size_t i = 0; i < p.size() && count < std::size(edges); ++i) {
        const Pixel& a = p[i];
        const Pixel& b = p[(i + 1) % p.size()];
        if (a.v == b.v) continue;
        const Pixel& upper = a.v < b.v ? a : b;
        const Pixel& lower = a.v < b.v ? b : a;
        edges[count++] = {upper.v, lower.v, upper.h, (lower.h - upper.h) / (lower.v - upper.v)};
    }
    const int y0 = std::max(top_, static_cast<int>(std::ceil(ymin - 0.5)));
    const int y1 = std::min(bottom_, static_cast<int>(std::ceil(ymax - 0.5)));
    for (int y = y0; y < y1; ++y) {
        const double yc = y + 0.5;
        double xl = std::numeric_limits<double>::infinity(), xr = -xl;
        for (std::size_t i = 0; i < count; ++i) {
            const Edge& e = edges[i];
            if (yc < e.top || yc >= e.bottom) continue; // the edge does not cross this row
            const double x = e.x + (yc - e.top) * e.slope;
            xl = std::min(xl, x), xr = std::max(xr, x);
        }
        if (!(xl < xr)) continue;
        const int x0 = std::max(left_, static_cast<int>(std::ceil(xl - 0.5)));
        const int x1 = std::min(right_, static_cast<int>(std::ceil(xr - 0.5)));
        if (x0 < x1) std::fill(&pixel(x0, y), &pixel(x0, y) + (x1 - x0), colour);
    }
}

void Raster::line(Pixel a, Pixel b, Argb colour, int on, int off) {
    if (!finite(a) || !finite(b) || left_ >= right_ || top_ >= bottom_) return;
    // A line reaching far out is cut to a box around the picture first (the
    // same box whatever the clip), so its ends never reach the sums.
    const double reach = 4.0 * (width_ + height_) + 64;
    if (std::fabs(a.h) > reach || std::fabs(a.v) > reach || std::fabs(b.h) > reach ||
        std::fabs(b.v) > reach) {
        double s0 = 0, s1 = 1;
        if (!cutsegment(a, b, -reach, -reach, reach, reach, s0, s1)) return;
        const Pixel from = a;
        a = {from.h + s0 * (b.h - from.h), from.v + s0 * (b.v - from.v)};
        b = {from.h + s1 * (b.h - from.h), from.v + s1 * (b.v - from.v)};
    }
    double t0, t1; // the part of a-b within the picture
    if (!cutsegment(a, b, left_, top_, right_ - 1e-9, bottom_ - 1e-9, t0, t1)) return;
    const double dx = b.h - a.h, dy = b.v - a.v;
    const double steps = std::max(std::fabs(dx), std::fabs(dy));
    // One pixel for each step along the longer axis, counted from a, so the
    // line covers the same pixels and a dash keeps its place however much
    // of it is cut away. The steps go in whole numbers of 1/65536 of a pixel;
    // a step more each side of the cut lets each pixel's own place decide.
    const auto end = static_cast<long long>(std::floor(steps));
    const auto first = std::max(0LL, static_cast<long long>(std::ceil(t0 * steps)) - 1);
    const auto last = std::min(end, static_cast<long long>(std::floor(t1 * steps)) + 1);
    if (first > last) return;
    const double sx = steps > 0 ? dx / steps : 0, sy = steps > 0 ? dy / steps : 0;
    constexpr double kOne = 65536;
    const auto ix = static_cast<long long>(std::round(sx * kOne)),
               iy = static_cast<long long>(std::round(sy * kOne));
    auto x = static_cast<long long>(std::floor(a.h * kOne)) + first * ix;
    auto y = static_cast<long long>(std::floor(a.v * kOne)) + first * iy;
    const long long period = on + off;
    for (long long i = first; i <= last; ++i, x += ix, y += iy) {
        if (period > 0 && i % period >= on) continue;
        const auto px = static_cast<int>(x >> 16), py = static_cast<int>(y >> 16);
        if (px >= left_ && px < right_ && py >= top_ && py < bottom_) pixel(px, py) = colour;
    }
}

void Raster::keepdepth(DepthBuffer& buffer) {
    buffer_ = &buffer;
    const auto size = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    if (buffer.width != width_ || buffer.height != height_ || buffer.depth.size() != size) {
        buffer.width = width_, buffer.height = height_;
        buffer.depth.assign(size, kFar);
        buffer.owners.assign(size, -1);
        return;
    }
    for (int y = top_; y < bottom_; ++y) {
        const auto row = static_cast<std::ptrdiff_t>(y) * width_;
        std::fill(buffer.depth.begin() + row + left_, buffer.depth.begin() + row + right_, kFar);
        std::fill(buffer.owners.begin() + row + left_, buffer.owners.begin() + row + right_, -1);
    }
}

void Raster::triangle(const Point3& a, const Point3& b, const Point3& c, Argb colour, int slot) {
    for (const Point3* p : {&a, &b, &c})
        if (!std::isfinite(p->h) || !std::isfinite(p->v) || !std::isfinite(p->depth)) return;
    // Edge functions: a pixel's centre is inside when on the inner side of
    // all three edges (or on a top or left edge), whatever the winding.
    const double area = (b.h - a.h) * (c.v - a.v) - (b.v - a.v) * (c.h - a.h);
    if (area == 0) return;
    const double sign = area > 0 ? 1 : -1;
    const int x0 = std::max(left_, static_cast<int>(std::floor(std::min({a.h, b.h, c.h}))));
    const int x1 = std::min(right_, static_cast<int>(std::ceil(std::max({a.h, b.h, c.h}))));
    const int y0 = std::max(top_, static_cast<int>(std::floor(std::min({a.v, b.v, c.v}))));
    const int y1 = std::min(bottom_, static_cast<int>(std::ceil(std::max({a.v, b.v, c.v}))));
    // Each edge p-q as e(x, y) = dx * x + dy * y + k, not negative inside.
    struct Edge {
        double dx, dy, k;
        bool owned; // a pixel exactly on it is the triangle's
    };
    const auto edge = [sign](const Point3& p, const Point3& q) {
        const double ex = sign * (q.h - p.h), ey = sign * (q.v - p.v);
        return Edge{-ey, ex, ey * p.h - ex * p.v, ey < 0 || (ey == 0 && ex > 0)};
    };
    const Edge edges[3] = {edge(b, c), edge(c, a), edge(a, b)};
    // The depth is a plane across the picture: d(x, y) = ddx * x + ddy * y + d0.
    const double scale = 1 / std::fabs(area);
    const auto weight = [&](const Edge& e, double x, double y) {
        return (e.dx * x + e.dy * y + e.k) * scale;
    };
    const double dorigin = weight(edges[0], 0, 0) * a.depth + weight(edges[1], 0, 0) * b.depth +
                           weight(edges[2], 0, 0) * c.depth;
    const double ddx =
        (edges[0].dx * a.depth + edges[1].dx * b.depth + edges[2].dx * c.depth) * scale;
    const double ddy =
        (edges[0].dy * a.depth + edges[1].dy * b.depth + edges[2].dy * c.depth) * scale;
    float* const depth = buffer_->depth.data();
    std::int32_t* const owners = buffer_->owners.data();
    for (int y = y0; y < y1; ++y) {
        const double yc = y + 0.5;
        // The row's span: each edge bounds it on one side; a pixel more
        // each way lets the exact test below decide.
        int from = x0, to = x1;
        bool none = false;
        for (const Edge& e : edges) {
            const double k = e.dy * yc + e.k;
            if (e.dx > 0)
                from = std::max(from,
                                static_cast<int>(std::floor(std::max(-k / e.dx - 0.5, -1e9))) - 1);
            else if (e.dx < 0)
                to = std::min(to, static_cast<int>(std::ceil(std::min(-k / e.dx - 0.5, 1e9))) + 2);
            else
                none = none || k < 0;
        }
        if (none) continue;
        const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
        for (int x = from; x < to; ++x) {
            const double xc = x + 0.5;
            bool inside = true;
            for (const Edge& e : edges) {
                const double w = e.dx * xc + e.dy * yc + e.k;
                inside = inside && (w > 0 || (w == 0 && e.owned));
            }
            if (!inside) continue;
            const auto d = static_cast<float>(dorigin + ddx * xc + ddy * yc);
            const std::size_t i = row + static_cast<std::size_t>(x);
            if (!(d < depth[i])) continue;
            depth[i] = d;
            owners[i] = slot;
            pixel(x, y) = colour;
        }
    }
}

void Raster::line(const Point3& a, const Point3& b, Argb colour, double slack, int own, int on,
                  int off) {
    const Pixel pa{a.h, a.v}, pb{b.h, b.v};
    if (!finite(pa) || !finite(pb) || !std::isfinite(a.depth) || !std::isfinite(b.depth)) return;
    double t0, t1; // the part of a-b within the picture
    if (!cutsegment(pa, pb, left_, top_, right_ - 1e-9, bottom_ - 1e-9, t0, t1)) return;
    const double dx = b.h - a.h, dy = b.v - a.v;
    const double steps = std::max(std::fabs(dx), std::fabs(dy));
    const auto first = static_cast<long long>(std::ceil(t0 * steps)),
               last = static_cast<long long>(std::floor(t1 * steps));
    const long long period = on + off;
    for (long long i = first; i <= last; ++i) {
        if (period > 0 && i % period >= on) continue;
        const double t = steps > 0 ? static_cast<double>(i) / steps : 0;
        const int x = static_cast<int>(std::floor(a.h + t * dx)),
                  y = static_cast<int>(std::floor(a.v + t * dy));
        if (x < left_ || x >= right_ || y < top_ || y >= bottom_) continue;
        const auto k = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                       static_cast<std::size_t>(x);
        const double depth = a.depth + t * (b.depth - a.depth);
        if (buffer_ && depth - slack > buffer_->depth[k] && (own < 0 || buffer_->owners[k] != own))
            continue;
        pixel(x, y) = colour;
    }
}

} // namespace qs
