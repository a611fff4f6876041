// SPDX-License-Identifier: GPL-3.0-or-later
#include "splash_window.h"

#include <QTimer>

#include "described_controls.h"
#include "error_report.h"
#include "panel.h"
#include "placement.h"

namespace tobric {

TForm2::TForm2(QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_mainWindow(mainWindow) {
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    const auto made =
        BuildControls(*this, SplashWindowDescription(), [this](const Control& control) {
            return control.action == Action::CloseSplash ? [this] { Image1Click(); }
                                                         : std::function<void()>();
        });
    Image1 = static_cast<Picture*>(made.value(QStringLiteral("Image1")));

    Timer1 = new QTimer(this);
    ConnectGuarded(Timer1, &QTimer::timeout, this, &TForm2::Timer1Timer);
    Timer1->start(5000);

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

}  // namespace tobric
