#include "qrd/render.h"

#include "document/footprint.h"
#include "document/mapfile.h"
#include "document/mapreport.h"
#include "qrd/qrd.h"
#include "ui/qt/pictures.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstring>
#include <memory>
#include <ostream>

namespace qs::qrd {

namespace {

struct Segment {
    double x1, y1, x2, y2;
    std::int32_t colour; // a display colour
};

// The lines the map draws for the table, in pixels of a picture of the
// given size, in drawing order: the same blocks, corners and colours.
std::vector<Segment> maplines(const BlockTable& table, const RenderOptions& o) {
    std::vector<Segment> out;
    auto px = [&](const Corner& c) {
        return std::pair{(static_cast<double>(c.h) - kMapLeft) / kMapWidth * o.width,
                         (static_cast<double>(c.v) - kMapTop) / kMapHeight * o.height};
    };
    for (const Block& b : table) {
        if (!drawnwithin(b, o.mind, o.maxd)) continue;
        const auto k = blockcorners(b);
        for (std::size_t i = 0; i < 4; ++i) {
            auto [x1, y1] = px(k[i]);
            auto [x2, y2] = px(k[(i + 1) % 4]);
            const double margin = 16;
            if (!std::isfinite(x1 + y1 + x2 + y2) ||
                !cliptorect(x1, y1, x2, y2, -margin, o.width + margin, o.height + margin))
                continue;
            out.push_back({x1, y1, x2, y2, mapcolour(b, o.colours)});
        }
    }
    return out;
}

std::string hex(std::int32_t display) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", display & 255, (display >> 8) & 255,
                  (display >> 16) & 255);
    return buf;
}

std::vector<std::byte> svg(const std::vector<Segment>& lines, const RenderOptions& o) {
    std::string t = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(o.width) +
                    "\" height=\"" + std::to_string(o.height) + "\" viewBox=\"0 0 " +
                    std::to_string(o.width) + " " + std::to_string(o.height) + "\">\n";
    if (o.background >= 0)
        t += "<rect width=\"100%\" height=\"100%\" fill=\"" + hex(o.background * 65793) + "\"/>\n";
    char buf[160];
    for (const Segment& s : lines) {
        std::snprintf(buf, sizeof buf,
                      "<line x1=\"%.2f\" y1=\"%.2f\" x2=\"%.2f\" y2=\"%.2f\" stroke=\"%s\"/>\n",
                      s.x1, s.y1, s.x2, s.y2, hex(s.colour).c_str());
        t += buf;
    }
    t += "</svg>\n";
    std::vector<std::byte> bytes(t.size());
    std::memcpy(bytes.data(), t.data(), t.size());
    return bytes;
}

std::vector<std::byte> encodepng(const QImage& image) {
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    std::vector<std::byte> bytes(static_cast<std::size_t>(encoded.size()));
    std::memcpy(bytes.data(), encoded.constData(), bytes.size());
    return bytes;
}

std::vector<std::byte> png(const std::vector<Segment>& lines, const RenderOptions& o) {
    QImage image(o.width, o.height, QImage::Format_ARGB32);
    image.fill(o.background >= 0 ? QColor(o.background, o.background, o.background)
                                 : QColor(Qt::transparent));
    {
        QPainter painter(&image);
        for (const Segment& s : lines) {
            painter.setPen(
                QPen(QColor(s.colour & 255, (s.colour >> 8) & 255, (s.colour >> 16) & 255), 0));
            painter.drawLine(QLineF(s.x1, s.y1, s.x2, s.y2));
        }
    }
    return encodepng(image);
}

// The map window's or the 3D view's picture, as those windows first show
// it at this size.
std::vector<std::byte> viewpng(const BlockTable& table, const RenderOptions& o) {
    // The map window's labels need fonts, which need an application; one
    // on the offscreen platform needs no display.
    std::unique_ptr<QGuiApplication> app;
    if (o.view == "map" && QGuiApplication::instance() == nullptr) {
        // Qt's words about the session (no runtime folder, say) are not
        // the tool's to pass on.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        static int argc = 1;
        static char name[] = "qrd";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    QImage image(o.width, o.height, QImage::Format_ARGB32);
    const QColor background = o.background >= 0 ? QColor(o.background, o.background, o.background)
                                                : QColor(Qt::transparent);
    const Look look{o.mind, o.maxd, o.colours, -1};
    if (o.view == "map") {
        PlanView view{o.width, o.height};
        view.fit(drawnbox(table, look).value_or(kMainArea));
        ui::paintplan(image, table, look, view, background);
    } else {
        BoxCamera camera{o.width, o.height};
        camera.reset(table, look);
        DepthBuffer buffer;
        ui::paintboxes(image, buffer, table, look, camera, background, groundbox(table, look));
    }
    return encodepng(image);
}

} // namespace

int render(const std::string& file, const std::string& to, const RenderOptions& o,
           std::ostream& err) {
    const bool tosvg = to.size() > 4 && (to.ends_with(".svg") || to.ends_with(".SVG"));
    if (!tosvg && !(to.size() > 4 && (to.ends_with(".png") || to.ends_with(".PNG")))) {
        err << "qrd: " << to << ": give a name ending in .png or .svg\n";
        return kFailure;
    }
    if (o.width < 1 || o.height < 1 || o.width > 16384 || o.height > 16384) {
        err << "qrd: the size is 1x1 to 16384x16384 pixels\n";
        return kFailure;
    }
    if (o.view != "main" && (tosvg || (o.view != "map" && o.view != "3d"))) {
        err << "qrd: --view is main, map or 3d; map and 3d write PNG only\n";
        return kFailure;
    }
    std::vector<std::byte> bytes;
    std::uint64_t size = 0;
    if (!load(file, bytes, size, err)) return kFailure;
    const MapReport report = reportmap(bytes, false, size);
    const BlockTable& table = report.table;
    std::vector<std::byte> picture;
    if (o.view != "main")
        picture = viewpng(table, o);
    else
        picture = tosvg ? svg(maplines(table, o), o) : png(maplines(table, o), o);
    const FileResult written = writemapfile(systemfiles(), to, picture);
    if (!written.ok) err << "qrd: " << to << ": " << written.reason << "\n";
    return written.ok ? kOk : kFailure;
}

} // namespace qs::qrd
