// The window on a 1920 x 1080 screen at 200 % (960 x 540 logical pixels): it fits, every
// control lies on the screen, and the list is what gives up height. Its own program, since
// the screen and the scale are set before the application starts.
#include "WindowTestSupport.h"

#include "list/SourceList.h"

#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>

#include <cstdlib>

namespace tavrin::test {
namespace {

constexpr QSize kLogicalScreen{960, 540};

// Whether the widget is drawn in the window: visible, and not inside a menu or a dialog.
bool OnTheWindow(const QWidget& window, const QWidget* widget)
{
    if (!widget->isVisible())
        return false;
    for (const QWidget* up = widget; up != nullptr && up != &window; up = up->parentWidget())
        if (up->isWindow())
            return false;
    return true;
}

using HighDpiWindowTest = WindowTest;

TEST_F(HighDpiWindowTest, EveryControlLiesOnA960x540Screen)
{
    const QScreen* screen = form->screen();
    ASSERT_EQ(screen->geometry().size(), kLogicalScreen) << "the test screen is not in place";
    ASSERT_EQ(form->devicePixelRatio(), 2.0);
    const QRect onScreen = screen->availableGeometry();
    EXPECT_TRUE(onScreen.contains(form->frameGeometry()))
        << form->frameGeometry().width() << "x" << form->frameGeometry().height();
    EXPECT_LE(form->minimumSizeHint().height(), kLogicalScreen.height());
    EXPECT_LE(form->minimumSizeHint().width(), kLogicalScreen.width());

    int checked = 0;
    for (const QWidget* widget : form->findChildren<QWidget*>()) {
        if (!OnTheWindow(*form, widget))
            continue;
        const QRect place(widget->mapToGlobal(QPoint(0, 0)), widget->size());
        EXPECT_TRUE(onScreen.contains(place))
            << widget->metaObject()->className() << " " << widget->objectName().toStdString()
            << " at " << place.x() << "," << place.y() << " " << place.width() << "x" << place.height();
        ++checked;
    }
    EXPECT_GT(checked, 40);
    for (const char* name : {"ProgressBar1", "ButtonStopSmall", "PanelVideo", "ButtonSnapshot",
                             "DSTrackBar1", "StatusBar1", "ListView1", "TrackBar1"})
        EXPECT_TRUE(OnTheWindow(*form, Find<QWidget>(*form, name))) << name;

    // The list gave up height; the groups and the preview kept theirs.
    EXPECT_LT(Find<QWidget>(*form, "PanelList")->height(), 201);
    EXPECT_GE(Find<QWidget>(*form, "PanelVideo")->height(), 145);
    EXPECT_GE(Find<QWidget>(*form, "PanelVideo")->width(), 174);
    for (const char* group : {"GroupVideoSettings", "GroupAudioSettings"})
        EXPECT_GE(Find<QGroupBox>(*form, group)->height(), Find<QGroupBox>(*form, group)->sizeHint().height())
            << group;

    // Drawn at twice the logical size, as the screen shows it.
    const QImage picture = form->grab().toImage();
    EXPECT_EQ(picture.size(), form->size() * 2);
    if (const QByteArray keep = qgetenv("TAVRIN_HIDPI_PICTURE"); !keep.isEmpty())
        picture.save(QString::fromLocal8Bit(keep));
}

}  // namespace
}  // namespace tavrin::test

int main(int argc, char* argv[])
{
    // One 1920 x 1080 screen for the offscreen platform, seen at 200 %.
    QTemporaryDir scratch;
    const QString config = scratch.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(R"({"screens": [{"name": "wide", "x": 0, "y": 0, "width": 1920, "height": 1080,)"
               R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
    qputenv("QT_SCALE_FACTOR", "2");
    qputenv("XDG_CONFIG_HOME", scratch.path().toLocal8Bit());
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
