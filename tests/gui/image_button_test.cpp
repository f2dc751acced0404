// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QMouseEvent>
#include <QSignalSpy>

#include "gui/controls/image_button.h"

namespace songloader::gui {
namespace {

class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent.resize(20, 10);
        parent.setAutoFillBackground(true);
        QPalette colours = parent.palette();
        colours.setColor(QPalette::Window, kBackground);
        parent.setPalette(colours);
        QImage image(10, 6, QImage::Format_ARGB32);
        image.fill(kImage);
        button = new ImageButton(QPixmap::fromImage(image), QStringLiteral("Select All"), &parent);
        button->setGeometry(5, 2, 10, 6);
    }
    // The button's pixel at (x, y) as the parent shows it.
    QColor Pixel(int x, int y) { return parent.grab().toImage().pixelColor(5 + x, 2 + y); }
    void Hover() {
        QEnterEvent enter(QPointF(1, 1), QPointF(6, 3), QPointF(6, 3));
        QCoreApplication::sendEvent(button, &enter);
    }

    const QColor kBackground{0, 0, 255};
    const QColor kImage{100, 150, 200};
    QWidget parent;
    ImageButton* button = nullptr;
};

TEST_F(ImageButtonTest, Looks) {
    EXPECT_EQ(Pixel(0, 0), kImage);
    button->setDown(true);
    EXPECT_EQ(Pixel(0, 0), kBackground) << "pressed: shifted right and down, background shows";
    EXPECT_EQ(Pixel(1, 1), kImage);
    button->setDown(false);

    Hover();
    EXPECT_EQ(button->look(), ImageButton::Look::Hot);
    EXPECT_EQ(Pixel(4, 4), QColor(118, 170, 223)) << "x1.05 + 0.05";
    button->setEnabled(false);
    EXPECT_EQ(button->look(), ImageButton::Look::Disabled);
    // Luminance 140 of (100, 150, 200): 160 + 12 * 3 / 8.
    EXPECT_EQ(Pixel(4, 4), QColor(164, 164, 164)) << "disabled is drawn grey";

    EXPECT_EQ(button->accessibleName(), QStringLiteral("Select All"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("Select All"));
}

TEST_F(ImageButtonTest, DoubleClickIsTwoClicks) {
    // The event sequences platforms deliver for a double-click.
    const std::vector<std::vector<QEvent::Type>> sequences = {
        {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease},
        {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress, QEvent::MouseButtonDblClick,
         QEvent::MouseButtonRelease},
    };
    for (const auto& sequence : sequences) {
        QSignalSpy clicks(button, &QAbstractButton::clicked);
        for (const QEvent::Type type : sequence) {
            const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, QPointF(3, 3), button->mapToGlobal(QPointF(3, 3)), Qt::LeftButton, held, {});
            QCoreApplication::sendEvent(button, &event);
        }
        EXPECT_EQ(clicks.count(), 2) << sequence.size() << " events";
    }
}

}  // namespace
}  // namespace songloader::gui
