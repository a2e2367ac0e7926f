// Proves the Qt toolchain works headless: a widget can be created, laid out and grabbed.
#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <gtest/gtest.h>

TEST(QtToolchain, RendersAWidgetOffscreen)
{
    int argc = 1;
    char name[] = "qt-smoke";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QLabel label("Quendrel");
    label.resize(120, 30);
    const QPixmap picture = label.grab();
    EXPECT_EQ(picture.width(), 120 * picture.devicePixelRatio());
    EXPECT_FALSE(picture.isNull());
}
