// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/windows/about_box.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/dialog_texts.h"
#include "gui/language/shown_text.h"
#include "gui/window_texts.h"

namespace songloader::gui {

AboutBox::AboutBox(const QIcon& icon, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromStdString(ForLinux(CoreText(kAboutTitle).toStdString())));
    setObjectName(QStringLiteral("AboutBox"));

    auto* iconLabel = new QLabel(this);
    iconLabel->setPixmap(icon.pixmap(32, 32));
    iconLabel->setAlignment(Qt::AlignTop);
    const QString version = QString::fromStdString(ShortVersion());
    auto* text =
        new QLabel(QString::fromStdString(ForLinux(Filled(CoreText(kAboutText), {version}).toStdString())), this);
    text->setTextFormat(Qt::PlainText);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->setSpacing(16);
    row->addWidget(iconLabel);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(row);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace songloader::gui
