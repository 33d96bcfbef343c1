#include "app/qt/identity.h"
#include "app/qt/qt_test_app.h"
#include "ui/qt/qt_look.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

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

// The picture's match with the installed icons is checked by icons_test.sh.
TEST(Identity, WindowIconIsTheCommittedPicture)
{
    test::qtApp();
    const QImage want(VANTRIC_SOURCE_DIR "/src/ui/qt/vantric_icon.xpm");
    ASSERT_EQ(want.size(), QSize(32, 32));
    EXPECT_EQ(appIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
              want.convertToFormat(QImage::Format_ARGB32));
}

} // namespace
