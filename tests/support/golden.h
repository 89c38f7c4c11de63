#pragma once
// Pictures against golden images in tests/golden: channels may differ by
// 24 and one pixel in 200 may differ more (fonts and antialiasing shift a
// little between machines). With QS_UPDATE_GOLDEN set, the picture becomes
// the golden image instead.
#include "document/block.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace qs::test {

// The small map of the map window's and the 3D view's golden images.
inline std::vector<Block> viewmap() {
    return {Block{20, 10, 4, 2, 0, 3, 30, 0x0000FF}, Block{45, 30, 3, 3, 2, 8, 0, 0x00C000},
            Block{60, -10, 6, 1.5f, 0, 1, 75, 0xE0A000}};
}

inline void expectgolden(QImage shot, const QString& name, QRect ignore = {}) {
    shot = shot.convertToFormat(QImage::Format_RGB32);
    const QString golden = QString(QS_GOLDEN_DIR) + "/" + name;
    if (qEnvironmentVariableIsSet("QS_UPDATE_GOLDEN")) {
        ASSERT_TRUE(shot.save(golden));
        GTEST_SKIP() << "golden image written";
    }
    const QImage expected = QImage(golden).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), expected.size())
        << golden.toStdString() << " is missing or of another size";
    int differing = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            if (ignore.contains(x, y)) continue;
            const QRgb a = shot.pixel(x, y), b = expected.pixel(x, y);
            differing += std::abs(qRed(a) - qRed(b)) > 24 || std::abs(qGreen(a) - qGreen(b)) > 24 ||
                         std::abs(qBlue(a) - qBlue(b)) > 24;
        }
    EXPECT_LE(differing, shot.width() * shot.height() / 200)
        << name.toStdString() << ": " << differing << " pixels differ";
}

} // namespace qs::test
