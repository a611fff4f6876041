// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTimer;

namespace tobric {

class Picture;

// The splash window: a borderless picture over the main window for about five seconds after
// start-up (counted from its creation), or until it is clicked. Shown once per run.
class TForm2 final : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* mainWindow);

    void Timer1Timer();
    void Image1Click() { Timer1Timer(); }

    Picture* Image1 = nullptr;
    QTimer* Timer1 = nullptr;

private:
    QWidget* m_mainWindow;
};

}  // namespace tobric
