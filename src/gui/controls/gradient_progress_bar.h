// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace songloader::gui {

// The main window's progress bar: one fixed gradient of 250 bands from near-black to white, of
// which the filled part is shown (position / upper of the width, ending on a band edge), and the
// percentage on top. At or below the lower end (or beyond the upper) only the background shows.
class GradientProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit GradientProgressBar(QWidget* parent = nullptr);

    // Ends of the range, each within 0..65535; the position moves to the lower end.
    void setRange(int lower, int upper);
    void setPosition(int position);
    int position() const { return position_; }
    int lower() const { return lower_; }
    int upper() const { return upper_; }
    void setBackgroundColour(const QColor& colour);
    void setTextColour(const QColor& colour);
    void setShowPercent(bool show);

    // The text drawn on the bar, empty when none is.
    QString percentText() const;
    // What a screen reader says of the bar: the whole percent done ("42%").
    QString valueText() const;

    QSize sizeHint() const override { return {300, 20}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool showsGradient() const;

    int lower_ = 0;
    int upper_ = 100;
    int position_ = 0;
    QColor startColour_{5, 5, 5};
    QColor endColour_{255, 255, 255};
    QColor backgroundColour_;
    QColor textColour_{255, 255, 255};
    bool showPercent_ = true;
};

}  // namespace songloader::gui
