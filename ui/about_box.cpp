// SPDX-License-Identifier: GPL-3.0-or-later
#include "about_box.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>

#include "fonts.h"
#include "panel.h"
#include "tobric/version.h"

namespace tobric {
namespace {

// Where an installed copy keeps its example programs (share/tobric/examples beside bin/), or
// nothing when run from a build tree.
QString ExamplesFolder() {
    const QDir folder(QCoreApplication::applicationDirPath() +
                      QStringLiteral("/../share/tobric/examples"));
    return folder.exists() ? QDir::cleanPath(folder.absolutePath()) : QString();
}

QString NoticeText() {
    QString text = QStringLiteral(
                       "A teaching simulator of a small decimal computer. Version %1. Free "
                       "software under the GNU General Public License, version 3 or later.")
                       .arg(QLatin1String(kVersionShort));
    if (const QString examples = ExamplesFolder(); !examples.isEmpty())
        text += QStringLiteral(" Example programs: %1").arg(examples);
    return text;
}

}  // namespace

Taboutfrm::Taboutfrm()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("aboutfrm"));
    setWindowTitle(QStringLiteral("About"));
    setModal(false);
    setFont(WindowFont());
    setFixedSize(229, 273);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    auto* frame = new Panel(this);
    frame->setObjectName(QStringLiteral("Panel1"));
    frame->setGeometry(0, 0, 129, 105);
    frame->SetBevels(Panel::Bevel::Lowered, Panel::Bevel::Lowered);
    auto* picture = new Picture(QStringLiteral(":/art/about.svg"), frame);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(8, 8, 113, 89);

    auto* version = new QLabel(QStringLiteral("ver %1 ").arg(QLatin1String(kVersionShort)), this);
    version->setObjectName(QStringLiteral("Label2"));
    version->setGeometry(0, 112, 129, 33);
    version->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont versionFont = WindowFont();
    versionFont.setPixelSize(19);
    version->setFont(versionFont);

    auto* title = new QLabel(QString::fromLatin1(kApplicationTitle), this);
    title->setObjectName(QStringLiteral("Label1"));
    title->setGeometry(136, 0, 89, 145);
    title->setWordWrap(true);
    title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont titleFont = HeadingFont();
    titleFont.setBold(false);
    titleFont.setPixelSize(21);
    title->setFont(titleFont);

    auto* notice = new QLabel(NoticeText(), this);
    notice->setObjectName(QStringLiteral("Label3"));
    notice->setGeometry(0, 152, 225, 81);
    notice->setWordWrap(true);
    notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(72, 240, 81, 25);
    Button1->setDefault(true);
    Button1->setAutoDefault(true);
    connect(Button1, &QPushButton::clicked, this, &Taboutfrm::Button1Click);
    Button1->setFocus();
}

void Taboutfrm::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    // A dialog without a place of its own is placed anew at each showing; from the first hiding
    // on, the box has one: where it was left.
    setAttribute(Qt::WA_Moved);
}

}  // namespace tobric
