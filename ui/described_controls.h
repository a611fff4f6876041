// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's widgets for the windows' description (window_description.h).

#include <QHash>
#include <QString>
#include <functional>

#include "window_description.h"

class QWidget;

namespace tobric {

// Gives the window its name, title and fixed size, and makes its controls in their order, each in
// its parent, and connects each one that acts to what `handler` gives for it (nothing: it does not
// act). `makeSpecial` makes the kinds that need more than the description; it is asked for every
// control and gives nullptr for those this file makes. The Tab stops follow their Tab places.
// Gives the controls by name.
QHash<QString, QWidget*> BuildControls(
    QWidget& window, const WindowDescription& description,
    const std::function<std::function<void()>(const Control&)>& handler,
    const std::function<QWidget*(const Control&, QWidget& parent)>& makeSpecial = {});

}  // namespace tobric
