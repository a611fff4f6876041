// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>
#include <utility>

#include "accessibility.h"

namespace tobric {
namespace {

// One 1-pixel bevel around `r`: a raised bevel is light at the top left and dark at the bottom
// right, a lowered one the other way round.
void DrawBevel(QPainter& painter, const QRect& r, bool raised, const QPalette& palette) {
    const QColor light = palette.color(QPalette::Light);
    const QColor dark = palette.color(QPalette::Dark);
    const QColor& topLeft = raised ? light : dark;
    const QColor& bottomRight = raised ? dark : light;
    painter.setPen(topLeft);
    painter.drawLine(r.left(), r.top(), r.right(), r.top());
    painter.drawLine(r.left(), r.top(), r.left(), r.bottom());
    painter.setPen(bottomRight);
    painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

}  // namespace

Panel::Panel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Children (labels) then draw their text in the button-text colour on the button face.
    setBackgroundRole(QPalette::Button);
}

void Panel::SetCaption(const QString& caption) {
    if (caption == m_caption) return;
    const QString before = std::exchange(m_caption, caption);
    AnnounceTextChange(this, CaptionAsRead(before), CaptionAsRead(caption));
    update();
}

void Panel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect outer = rect();
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    painter.fillRect(inner.adjusted(1, 1, -1, -1), palette().color(QPalette::Button));
    DrawBevel(painter, outer, false, palette());
    DrawBevel(painter, inner, m_innerRaised, palette());
    if (m_caption.isEmpty()) return;

    const QRect text = inner.adjusted(1, 1, -1, -1);
    QFont font = this->font();
    const int flags = Qt::TextShowMnemonic | Qt::TextExpandTabs | Qt::TextSingleLine;
    while (m_shrinkMinimum > 0 && font.pixelSize() > m_shrinkMinimum &&
           QFontMetrics(font).boundingRect(text, flags, m_caption).width() > text.width())
        font.setPixelSize(font.pixelSize() - 1);
    painter.setFont(font);
    // The text line is as high as a "W" and centred between the inner bevels.
    const int h = QFontMetrics(font).height();
    const int top = (text.top() + text.bottom() + 1 - h) / 2;
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(QRect(text.left(), top, text.width(), h),
                     flags | static_cast<int>((m_alignment | Qt::AlignTop).toInt()), m_caption);
}

void PanelButton::SetGlyph(const QString& svgResource) {
    (new Picture(svgResource, this))->setGeometry(8, 8, 16, 16);
}

void PanelButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_pressed = true;
    event->accept();
}

void PanelButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const bool click = m_pressed && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click) emit Clicked();
}

void PanelButton::mouseDoubleClickEvent(QMouseEvent* event) {
    m_pressed = false;
    event->accept();
}

Picture::Picture(const QString& svgResource, QWidget* parent)
    : QWidget(parent), m_renderer(new QSvgRenderer(svgResource, this)) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void Picture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    m_renderer->render(&painter, QRectF(rect()));
}

// A picture takes the clicks made on it; on a panel button that means they do nothing.
void Picture::mousePressEvent(QMouseEvent* event) { event->accept(); }

void Picture::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked();
}

}  // namespace tobric
