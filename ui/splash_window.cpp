// SPDX-License-Identifier: GPL-3.0-or-later
#include "splash_window.h"

#include <QTimer>

#include "error_report.h"
#include "panel.h"
#include "placement.h"

namespace tobric {

TForm2::TForm2(QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_mainWindow(mainWindow) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(150, 153);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    // 149 wide in a 150-wide window: a one-pixel column of background shows at the right.
    Image1 = new Picture(QStringLiteral(":/art/splash.svg"), this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 149, 153);
    Image1->setAccessibleName(QStringLiteral("Tobric Computer"));
    ConnectGuarded(Image1, &Picture::Clicked, this, &TForm2::Image1Click);

    Timer1 = new QTimer(this);
    Timer1->setInterval(5000);
    ConnectGuarded(Timer1, &QTimer::timeout, this, &TForm2::Timer1Timer);
    Timer1->start();

    // Over the main window's outer frame, once the main window stands in its own place.
    CentreOnFirstShow(
        *this, [mainWindow] { return OuterFrame(*mainWindow); }, mainWindow);
}

void TForm2::Timer1Timer() {
    hide();
    m_mainWindow->show();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
    Timer1->stop();
}

void TForm2::Image1Click() { Timer1Timer(); }

}  // namespace tobric
