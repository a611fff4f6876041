// SPDX-License-Identifier: GPL-3.0-or-later
#include "mailbox_display.h"

#include <QContextMenuEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "accessibility.h"
#include "machine/display_text.h"
#include "machine/store.h"
#include "text_codec.h"

namespace tobric {

MailboxDisplay::MailboxDisplay(const Store& store, QWidget* parent)
    : QAbstractScrollArea(parent), m_store(store) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setBackgroundRole(QPalette::Button);
    viewport()->setBackgroundRole(QPalette::Button);
    UpdateScrollRange();
}

void MailboxDisplay::Rebuild() {
    m_rows = m_store.ShownCount();
    m_selected = -1;
    UpdateScrollRange();
    verticalScrollBar()->setValue(0);
    viewport()->repaint();
    emit RowsReplaced();
}

QString MailboxDisplay::RowText(int row) const {
    return ToQt(MailboxRowText(static_cast<std::uint16_t>(row), m_store.ShownLine(row)));
}

void MailboxDisplay::SelectRow(int row) {
    if (row < 0 || row >= m_rows) row = -1;
    const int previous = m_selected;
    m_selected = row;
    if (row >= 0)  // scrolled just far enough to show it
        verticalScrollBar()->setValue(std::clamp(TopRow(), row - RowsOnScreen() + 1, row));
    viewport()->update();
    AnnounceSelectionMove(this, previous);
}

QRect MailboxDisplay::RowRect(int row) const {
    return {0, (row - TopRow()) * kRowHeight, viewport()->width(), kRowHeight};
}

int MailboxDisplay::RowsOnScreen() const { return std::max(1, viewport()->height() / kRowHeight); }

int MailboxDisplay::TopRow() const { return verticalScrollBar()->value(); }

int MailboxDisplay::RowAt(const QPoint& position) const {
    const int row = TopRow() + position.y() / kRowHeight;
    return position.y() >= 0 && row < m_rows ? row : -1;
}

void MailboxDisplay::UpdateScrollRange() {
    const int onScreen = RowsOnScreen();
    verticalScrollBar()->setPageStep(onScreen);
    verticalScrollBar()->setRange(0, std::max(0, m_rows - onScreen));
}

void MailboxDisplay::DrawRow(QPainter& painter, int row) const {
    const QRect rect = RowRect(row);
    const bool selected = row == m_selected;
    const QPalette& colours = palette();
    painter.fillRect(rect, colours.color(selected ? QPalette::Highlight : QPalette::Button));
    painter.setPen(colours.color(selected ? QPalette::HighlightedText : QPalette::WindowText));
    painter.save();
    painter.setClipRect(rect);
    // One line, 2 px in, clipped at the right; "&" is shown as itself.
    painter.drawText(rect.adjusted(2, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, RowText(row));
    painter.restore();
    if (hasFocus() && row == FocusRow()) {
        // Drawn by hand: the style draws focus frames only after a Tab, never after a click. One
        // pixel on, one off, like the platform's dotted frame, in the row's text colour.
        QPen dots(colours.color(selected ? QPalette::HighlightedText : QPalette::WindowText), 0);
        dots.setDashPattern({1, 1});
        painter.setPen(dots);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

void MailboxDisplay::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setFont(font());
    const int first = TopRow() + event->rect().top() / kRowHeight;
    const int last = std::min(m_rows - 1, TopRow() + event->rect().bottom() / kRowHeight);
    for (int row = first; row <= last; ++row) DrawRow(painter, row);
}

void MailboxDisplay::mousePressEvent(QMouseEvent* event) {
    // A right click opens the popup on the row selected before; it selects nothing itself.
    if (event->button() == Qt::LeftButton) {
        const int row = RowAt(event->position().toPoint());
        if (row >= 0) SelectRow(row);
    }
    event->accept();
}

void MailboxDisplay::keyPressEvent(QKeyEvent* event) {
    // Qt turns only the context-menu key into a menu request; Shift+F10 is the other way to it.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        event->accept();
        emit MenuRequested(mapToGlobal(QPoint(0, 0)));
        return;
    }
    if (m_rows == 0) return QAbstractScrollArea::keyPressEvent(event);
    const int from = FocusRow();
    int to = -2;
    switch (event->key()) {
        case Qt::Key_Up: to = m_selected < 0 ? from : from - 1; break;
        case Qt::Key_Down: to = m_selected < 0 ? from : from + 1; break;
        case Qt::Key_PageUp: to = from - (RowsOnScreen() - 1); break;
        case Qt::Key_PageDown: to = from + (RowsOnScreen() - 1); break;
        case Qt::Key_Home: to = 0; break;
        case Qt::Key_End: to = m_rows - 1; break;
        default: return QAbstractScrollArea::keyPressEvent(event);
    }
    SelectRow(std::clamp(to, 0, m_rows - 1));
    event->accept();
}

void MailboxDisplay::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint position = event->reason() == QContextMenuEvent::Keyboard
                                ? mapToGlobal(QPoint(0, 0))
                                : event->globalPos();
    event->accept();
    emit MenuRequested(position);
}

void MailboxDisplay::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

bool MailboxDisplay::event(QEvent* event) {
    // The focus frame comes and goes with the focus: repaint the viewport, which draws it.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) viewport()->update();
    return QAbstractScrollArea::event(event);
}

}  // namespace tobric
