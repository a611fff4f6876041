// SPDX-License-Identifier: GPL-3.0-or-later
#include "about_box.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>

#include "described_controls.h"
#include "fonts.h"

namespace tobric {

Taboutfrm::Taboutfrm()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setFont(WindowFont());
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    const auto made = BuildControls(*this, AboutBoxDescription(), [this](const Control& control) {
        return control.action == Action::CloseAbout ? [this] { Button1Click(); }
                                                    : std::function<void()>();
    });
    auto* version = static_cast<QLabel*>(made.value(QStringLiteral("Label2")));
    version->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    version->setWordWrap(false);
    QFont versionFont = WindowFont();
    versionFont.setPixelSize(19);
    version->setFont(versionFont);

    QFont titleFont = HeadingFont();
    titleFont.setBold(false);
    titleFont.setPixelSize(21);
    made.value(QStringLiteral("Label1"))->setFont(titleFont);

    // An installed copy names where its example programs are: share/tobric/examples beside bin/.
    const QDir examples(QCoreApplication::applicationDirPath() +
                        QStringLiteral("/../share/tobric/examples"));
    auto* notice = static_cast<QLabel*>(made.value(QStringLiteral("Label3")));
    if (examples.exists())
        notice->setText(
            notice->text() +
            QStringLiteral(" Example programs: %1").arg(QDir::cleanPath(examples.absolutePath())));

    Button1 = static_cast<QPushButton*>(made.value(QStringLiteral("Button1")));
    Button1->setDefault(true);
    Button1->setFocus();
}

void Taboutfrm::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    // A dialog without a place of its own is placed anew at each showing; from the first hiding
    // on, the box has one: where it was left.
    setAttribute(Qt::WA_Moved);
}

}  // namespace tobric
