#include "app/qt/identity.h"
#include "app/qt/qt_test_app.h"
#include "ui/qt/qt_look.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace vantric;

namespace {

TEST(Identity, AnnouncesTheNamesTheInstalledFilesCarry)
{
    announceIdentity();
    test::qtApp();
    EXPECT_EQ(QCoreApplication::applicationName(), "vantric");
    EXPECT_EQ(QCoreApplication::applicationVersion(), VANTRIC_PROJECT_VERSION);
    // The desktop entry, icon and metainfo are installed under this name.
    EXPECT_EQ(QGuiApplication::desktopFileName(), VANTRIC_APP_ID);
}

// Every pixel of the window icon is the colour of its palette nearest to the
// same pixel of the installed 32 pixel icon, and transparent where that is.
TEST(Identity, WindowIconIsTheInstalledIconInItsOwnColours)
{
    test::qtApp();
    const QImage win = appIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage png = QImage(VANTRIC_SOURCE_DIR "/data/icons/hicolor/32x32/apps/" VANTRIC_APP_ID ".png")
                           .convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(win.size(), QSize(32, 32));
    ASSERT_EQ(png.size(), QSize(32, 32));

    std::vector<QRgb> palette;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            QRgb p = win.pixel(x, y);
            if (qAlpha(p) == 255 && std::find(palette.begin(), palette.end(), p) == palette.end())
                palette.push_back(p);
        }
    EXPECT_LE(palette.size(), 16u);
    auto dist = [](QRgb a, QRgb b) {
        int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
        return dr * dr + dg * dg + db * db;
    };
    int wrong = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb w = win.pixel(x, y), p = png.pixel(x, y);
            if (qAlpha(p) < 128) {
                wrong += qAlpha(w) != 0;
                continue;
            }
            int best = dist(palette.front(), p);
            for (QRgb c : palette)
                best = std::min(best, dist(c, p));
            if (qAlpha(w) != 255 || dist(w, p) != best) {
                ++wrong;
                ADD_FAILURE() << "pixel " << x << "," << y << ": window icon " << QColor(w).name().toStdString()
                              << ", installed icon " << QColor(p).name().toStdString();
            }
        }
    EXPECT_EQ(wrong, 0);
}

} // namespace
