// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QPushButton;

namespace tobric {

// The about box: modeless, kept on top, one instance; hidden by OK, Enter, Esc or its close box,
// and shown again where it was left.
class Taboutfrm final : public QDialog {
    Q_OBJECT
public:
    Taboutfrm();

    void Button1Click() { hide(); }

    QPushButton* Button1 = nullptr;

protected:
    void reject() override { hide(); }
    void hideEvent(QHideEvent* event) override;
};

}  // namespace tobric
