// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace songloader::gui {

// A push button drawn as a picture: the image stretched to the button, composed over whatever the
// parent paints behind it, in three looks. Pressed shows the image one pixel right and down;
// hot (mouse over) shows it brightened; disabled shows it grey and faded, so a button that does
// nothing does not look clickable. A double-click acts as a
// second press. The caption is not drawn (the image carries it) but serves as the accessible name
// and the tooltip.
class ImageButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Look { Normal, Pressed, Hot, Disabled };

    explicit ImageButton(QWidget* parent = nullptr);
    ImageButton(const QPixmap& image, const QString& caption, QWidget* parent = nullptr);

    void setImage(const QPixmap& image);
    const QPixmap& image() const { return image_; }
    void setCaption(const QString& caption);
    QString caption() const { return text(); }

    // The look the next paint uses.
    Look look() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void rebuildLooks();

    QPixmap image_;
    QPixmap normalLook_;    // the image at the button's size
    QPixmap hotLook_;       // the same, brightened
    QPixmap disabledLook_;  // the same, grey and faded
    bool hovering_ = false;
};

// The hot look's colour matrix on one straight (not premultiplied) ARGB image: red, green and
// blue times 1.05 plus 0.05 of full scale, alpha unchanged.
QImage Brightened(const QImage& image);

// The disabled look of one image: each pixel's luminance, its distance from mid-grey cut to 3/8,
// moved up to a light grey (160 for mid-grey); alpha unchanged.
QImage Greyed(const QImage& image);

}  // namespace songloader::gui
