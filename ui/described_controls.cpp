// SPDX-License-Identifier: GPL-3.0-or-later
#include "described_controls.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <vector>

#include "error_report.h"
#include "fonts.h"
#include "output_basket.h"
#include "panel.h"

namespace tobric {
namespace {

// The speed bar's keys: left and up lower the position (a faster run), right and down raise it,
// Page Up and Page Down by the large step, Home and End to the ends.
class SpeedBar final : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
            case Qt::Key_Left:
            case Qt::Key_Up: triggerAction(SliderSingleStepSub); break;
            case Qt::Key_Right:
            case Qt::Key_Down: triggerAction(SliderSingleStepAdd); break;
            case Qt::Key_PageUp: triggerAction(SliderPageStepSub); break;
            case Qt::Key_PageDown: triggerAction(SliderPageStepAdd); break;
            case Qt::Key_Home: triggerAction(SliderToMinimum); break;
            case Qt::Key_End: triggerAction(SliderToMaximum); break;
            default: QScrollBar::keyPressEvent(event); return;
        }
        event->accept();
    }
};

QString ArtFile(const char* name) {
    return QStringLiteral(":/art/%1.svg").arg(QLatin1String(name));
}

QWidget* MakeWidget(const Control& control, QWidget& parent) {
    const QString caption = QString::fromLatin1(Caption(control));
    switch (control.kind) {
        case ControlKind::Panel: return new Panel(&parent);
        case ControlKind::LoweredPanel:
        case ControlKind::Display: {
            auto* panel = new Panel(&parent);
            panel->SetSunken();
            if (control.kind == ControlKind::LoweredPanel) return panel;
            panel->SetCaptionAlignment(Qt::AlignRight);
            panel->setFont(CalculatorFont());
            panel->SetShrinkToFit(16);
            panel->SetCaption(caption);
            return panel;
        }
        case ControlKind::Heading: {
            auto* heading = new Panel(&parent);
            heading->setFont(HeadingFont());
            heading->SetCaption(caption);
            return heading;
        }
        case ControlKind::CommandButton: {
            auto* button = new PanelButton(&parent);
            button->SetCaption(QString(kCommandCaptionIndent, QLatin1Char(' ')) + caption);
            button->SetCaptionAlignment(Qt::AlignLeft);
            button->SetGlyph(ArtFile(control.glyph));
            return button;
        }
        case ControlKind::Key: {
            auto* key = new PanelButton(&parent);
            key->SetCaption(caption);
            return key;
        }
        case ControlKind::Label: return new QLabel(caption, &parent);
        case ControlKind::Text: {
            auto* text = new QLabel(caption, &parent);
            text->setWordWrap(true);
            text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return text;
        }
        case ControlKind::ReadOnlyBox: {
            auto* box = new QLineEdit(&parent);
            box->setReadOnly(true);
            return box;
        }
        case ControlKind::SpeedBar: {
            auto* bar = new SpeedBar(Qt::Horizontal, &parent);
            bar->setRange(kSpeedBar.minimum, kSpeedBar.maximum);
            bar->setSingleStep(kSpeedBar.singleStep);
            bar->setPageStep(kSpeedBar.pageStep);
            bar->setFocusPolicy(Qt::StrongFocus);
            bar->setValue(kSpeedBar.start);
            return bar;
        }
        case ControlKind::Picture: return new Picture(ArtFile(control.glyph), &parent);
        case ControlKind::OutputBasket: {
            auto* basket = new OutputBasket(&parent);
            QFont large = WindowFont();
            large.setPixelSize(24);
            basket->setFont(large);
            return basket;
        }
        case ControlKind::PushButton: return new QPushButton(caption, &parent);
        case ControlKind::TextBox: return new QLineEdit(&parent);
        case ControlKind::MailboxDisplay:
        case ControlKind::ProgramText: break;
    }
    return nullptr;
}

void OnPress(QWidget* widget, std::function<void()> handler) {
    const auto run = [handler = std::move(handler)] { Guarded(handler); };
    if (auto* button = qobject_cast<PanelButton*>(widget))
        QObject::connect(button, &PanelButton::Clicked, button, run);
    else if (auto* picture = qobject_cast<Picture*>(widget))
        QObject::connect(picture, &Picture::Clicked, picture, run);
    else if (auto* push = qobject_cast<QPushButton*>(widget))
        QObject::connect(push, &QPushButton::clicked, push, run);
}

}  // namespace

QHash<QString, QWidget*> BuildControls(
    QWidget& window, const WindowDescription& description,
    const std::function<std::function<void()>(const Control&)>& handler,
    const std::function<QWidget*(const Control&, QWidget& parent)>& makeSpecial) {
    window.setObjectName(QLatin1String(description.name));
    window.setWindowTitle(QString::fromLatin1(description.title));
    window.setFixedSize(description.width, description.height);
    QHash<QString, QWidget*> made;
    std::vector<std::pair<int, QWidget*>> stops;
    for (const Control& control : description.controls) {
        QWidget& parent = control.parent[0] ? *made.value(QLatin1String(control.parent)) : window;
        QWidget* widget = makeSpecial ? makeSpecial(control, parent) : nullptr;
        if (!widget) widget = MakeWidget(control, parent);
        widget->setObjectName(QLatin1String(control.name));
        const Rect& r = control.rect;
        if (r.width > 0) {
            widget->setGeometry(r.left, r.top, r.width, r.height);
        } else {
            widget->move(r.left, r.top);
            widget->adjustSize();
        }
        if (*control.accessibleName)
            widget->setAccessibleName(QLatin1String(control.accessibleName));
        if (control.disabled) {
            widget->setEnabled(false);
            widget->setFocusPolicy(Qt::NoFocus);
        }
        if (std::function<void()> press = handler(control)) OnPress(widget, std::move(press));
        if (control.tabPlace > 0) stops.emplace_back(control.tabPlace, widget);
        made.insert(QLatin1String(control.name), widget);
    }
    std::sort(stops.begin(), stops.end());
    for (std::size_t i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1].second, stops[i].second);
    return made;
}

}  // namespace tobric
