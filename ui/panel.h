// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Panels: every container, button and the calculator display of the main window is one. A panel
// draws its own bevels and its one-line caption; a PanelButton also reports clicks.

#include <QMetaMethod>
#include <QString>
#include <QWidget>

class QSvgRenderer;

namespace tobric {

class Panel : public QWidget {
    Q_OBJECT
public:
    explicit Panel(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    QString caption() const { return m_caption; }
    void SetCaptionAlignment(Qt::Alignment horizontal) { Restyle(m_alignment, horizontal); }
    // Lowers the inner bevel too, as the outer one always is: a sunken field.
    void SetSunken() { Restyle(m_innerRaised, false); }
    // Shrinks the caption's font, never below `minimumPixelSize`, until the caption fits inside
    // the bevels: the calculator keeps long numbers whole.
    void SetShrinkToFit(int minimumPixelSize) { Restyle(m_shrinkMinimum, minimumPixelSize); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    template <typename T>
    void Restyle(T& member, T value) {
        member = value;
        update();
    }

    QString m_caption;
    Qt::Alignment m_alignment = Qt::AlignHCenter;
    bool m_innerRaised = true;
    int m_shrinkMinimum = 0;
};

// A panel that acts on a left click: the press and the release must both land on it. The second
// press of a double-click is no click. It takes no focus and answers no accelerator key.
class PanelButton : public Panel {
    Q_OBJECT
public:
    using Panel::Panel;

    // A 16 x 16 picture at (8, 8) that swallows clicks on it.
    void SetGlyph(const QString& svgResource);

signals:
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

// A picture drawn from an SVG resource, stretched to the widget.
class Picture : public QWidget {
    Q_OBJECT
public:
    Picture(const QString& svgResource, QWidget* parent);

    // Whether anything acts on its clicks.
    bool IsClickable() const {
        return isSignalConnected(QMetaMethod::fromSignal(&Picture::Clicked));
    }

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QSvgRenderer* m_renderer;
};

}  // namespace tobric
