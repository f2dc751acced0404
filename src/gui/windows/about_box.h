// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QIcon>

namespace songloader::gui {

// The About box: the program's icon and its name and version, with an OK button.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(const QIcon& icon, QWidget* parent = nullptr);
};

}  // namespace songloader::gui
