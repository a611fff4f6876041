// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <unordered_map>

#include "mailbox_display.h"
#include "output_basket.h"
#include "panel.h"

namespace tobric {
namespace {

// A press action clicks from the event loop a moment later, as Qt's own push buttons do: a handler
// that opens a modal box must not hold the reader's request open until the box is closed. Only a
// widget that the mouse could click then gets the click.
void ClickLater(QWidget* widget) {
    QTimer::singleShot(0, widget, [widget] {
        const QWidget* modal = QApplication::activeModalWidget();
        if (!widget->isVisible() || !widget->isEnabled() || (modal && modal != widget->window()))
            return;
        QMetaObject::invokeMethod(widget, "Clicked");
    });
}

// Panels and pictures. A panel button, or a picture that something acts on (the image strip opens
// the about box), is a push button; another picture is a graphic; a panel with a caption (a
// heading or the calculator display) is static text that offers its caption as text and value;
// the rest group others. The kind is read from the widget each time, as the interface may be
// made while it is built.
class PanelAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit PanelAccessible(QWidget* widget) : QAccessibleWidget(widget) {}

    QAccessible::Role role() const override {
        if (Button()) return QAccessible::Button;
        if (qobject_cast<const Picture*>(widget())) return QAccessible::Graphic;
        return Shown().isEmpty() ? QAccessible::Grouping : QAccessible::StaticText;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return widget()->accessibleName().isEmpty() ? Shown() : widget()->accessibleName();
        if (t == QAccessible::Value && !Button()) return Shown();
        return QAccessibleWidget::text(t);
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface && role() == QAccessible::StaticText)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // A button's glyph is part of its look, not a thing to visit.
    int childCount() const override { return Button() ? 0 : QAccessibleWidget::childCount(); }
    QAccessibleInterface* child(int index) const override {
        return Button() ? nullptr : QAccessibleWidget::child(index);
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        return Button() ? nullptr : QAccessibleWidget::childAt(x, y);
    }

    QStringList actionNames() const override {
        return Button() ? QStringList{pressAction()} : QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (Button() && action == pressAction()) ClickLater(widget());
    }

    // The caption as read-only text, without a caret or a selection.
    QString text(int start, int end) const override { return Shown().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Shown().size()); }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    bool Button() const {
        const auto* picture = qobject_cast<const Picture*>(widget());
        return qobject_cast<const PanelButton*>(widget()) || (picture && picture->IsClickable());
    }
    QString Shown() const {
        const auto* panel = qobject_cast<const Panel*>(widget());
        return panel ? CaptionAsRead(panel->caption()) : QString();
    }
};

// The OUT basket as Qt's combo box shows it, but for the name: on Unix Qt names a combo box after
// its value, and the basket must stay "OUT Basket" whatever it shows.
class OutputBasketAccessible final : public QAccessibleWidget {
public:
    explicit OutputBasketAccessible(OutputBasket* basket)
        : QAccessibleWidget(basket, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Basket()->lineEdit()->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.expandable = true;
        state.expanded = Basket()->view()->isVisible();
        state.collapsed = !state.expanded;
        return state;
    }

    int childCount() const override { return 2; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 || index == 1 ? QAccessible::queryAccessibleInterface(Parts()[index])
                                        : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? static_cast<int>(Parts().indexOf(child->object())) : -1;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) return;
        if (Basket()->view()->isVisible())
            Basket()->hidePopup();
        else
            Basket()->showPopup();
    }

private:
    OutputBasket* Basket() const { return static_cast<OutputBasket*>(widget()); }
    // The drop-down list, then the field.
    QObjectList Parts() const { return {Basket()->view(), Basket()->lineEdit()}; }
};

// One row of the mailbox display, made when a reader asks for it.
class MailboxRowAccessible final : public QAccessibleInterface {
public:
    MailboxRowAccessible(MailboxDisplay* display, int row) : m_display(display), m_row(row) {}

    const MailboxDisplay* display() const { return m_display; }
    int row() const { return m_row; }

    bool isValid() const override { return m_display && m_row < m_display->RowCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return m_display ? m_display->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_display.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? m_display->RowText(m_row) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QRect rect() const override {
        if (!isValid()) return {};
        const QRect row = m_display->RowRect(m_row);
        return {m_display->viewport()->mapToGlobal(row.topLeft()), row.size()};
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) return state;
        state.selectable = true;
        state.focusable = true;
        state.selected = m_display->SelectedIndex() == m_row;
        state.focused = state.selected && m_display->hasFocus();
        state.disabled = !m_display->isEnabled();
        state.offscreen = !m_display->viewport()->rect().intersects(m_display->RowRect(m_row));
        return state;
    }

private:
    QPointer<MailboxDisplay> m_display;
    int m_row;
};

// The mailbox display as a list whose items are its rows. A store may have tens of thousands of
// lines, so a row's interface is made only when asked for, kept until the next rebuild so that a
// reader's hold on it stays good, and dropped with every rebuild.
class MailboxListAccessible final : public QAccessibleWidget {
public:
    explicit MailboxListAccessible(MailboxDisplay* display)
        : QAccessibleWidget(display, QAccessible::List) {
        m_rebuilt = QObject::connect(display, &MailboxDisplay::RowsReplaced, display, [this] {
            ForgetRows();
            QAccessibleTableModelChangeEvent reset(widget(),
                                                   QAccessibleTableModelChangeEvent::ModelReset);
            QAccessible::updateAccessibility(&reset);
        });
    }
    ~MailboxListAccessible() override {
        QObject::disconnect(m_rebuilt);
        ForgetRows();
    }

    int childCount() const override { return Display()->RowCount(); }

    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= Display()->RowCount()) return nullptr;
        if (const auto known = m_rows.find(index); known != m_rows.end())
            if (QAccessibleInterface* row = QAccessible::accessibleInterface(known->second))
                return row;
        auto* row = new MailboxRowAccessible(Display(), index);
        m_rows[index] = QAccessible::registerAccessibleInterface(row);
        return row;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* row = dynamic_cast<const MailboxRowAccessible*>(child);
        return row && row->display() == Display() && row->isValid() ? row->row() : -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint position = Display()->viewport()->mapFromGlobal(QPoint(x, y));
        if (!Display()->viewport()->rect().contains(position)) return nullptr;
        const int row = Display()->RowAt(position);
        return row >= 0 ? child(row) : nullptr;
    }

    QAccessibleInterface* focusChild() const override {
        if (Display()->hasFocus() && Display()->SelectedIndex() >= 0)
            return child(Display()->SelectedIndex());
        return QAccessibleWidget::focusChild();
    }

private:
    MailboxDisplay* Display() const { return static_cast<MailboxDisplay*>(widget()); }

    void ForgetRows() {
        for (const auto& [row, id] : m_rows) QAccessible::deleteAccessibleInterface(id);
        m_rows.clear();
    }

    mutable std::unordered_map<int, QAccessible::Id> m_rows;
    QMetaObject::Connection m_rebuilt;
};

template <typename T>
bool Is(const QString& className) {
    return className == QLatin1String(T::staticMetaObject.className());
}

QAccessibleInterface* MakeInterface(const QString& className, QObject* object) {
    // Qt makes a plain widget window a client area ("filler"), and its bridge tells readers of the
    // activation only of windows. Popups stay as Qt has them.
    if (className == QLatin1String("QWidget") &&
        static_cast<QWidget*>(object)->windowType() == Qt::Window)
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    if (Is<Panel>(className) || Is<PanelButton>(className) || Is<Picture>(className))
        return new PanelAccessible(static_cast<QWidget*>(object));
    if (Is<OutputBasket>(className))
        return new OutputBasketAccessible(static_cast<OutputBasket*>(object));
    if (Is<MailboxDisplay>(className))
        return new MailboxListAccessible(static_cast<MailboxDisplay*>(object));
    return nullptr;
}

}  // namespace

void InstallAccessibility() { QAccessible::installFactory(MakeInterface); }

QString CaptionAsRead(const QString& caption) {
    static const QRegularExpression kMnemonicMark(QStringLiteral("&(.?)"),
                                                  QRegularExpression::DotMatchesEverythingOption);
    return QString(caption).replace(kMnemonicMark, QStringLiteral("\\1")).trimmed();
}

void AnnounceTextChange(QWidget* display, const QString& before, const QString& after) {
    if (before == after) return;
    QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(display);
    if (!shown || !shown->textInterface()) return;
    QAccessibleTextUpdateEvent event(display, 0, before, after);
    QAccessible::updateAccessibility(&event);
}

void AnnounceValueChange(QWidget* display, const QString& value) {
    QAccessibleValueChangeEvent event(display, value);
    QAccessible::updateAccessibility(&event);
}

void AnnounceSelectionMove(MailboxDisplay* display, int from) {
    // The bridge reads each row's selected state anew, so both rows are named.
    const int row = display->SelectedIndex();
    for (const int changed : {from, row}) {
        if (from == row || changed < 0 || changed >= display->RowCount()) continue;
        QAccessibleEvent selection(display, QAccessible::Selection);
        selection.setChild(changed);
        QAccessible::updateAccessibility(&selection);
    }
    if (row < 0 || !display->hasFocus()) return;
    QAccessibleEvent focus(display, QAccessible::Focus);
    focus.setChild(row);
    QAccessible::updateAccessibility(&focus);
}

}  // namespace tobric
