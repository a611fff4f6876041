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
    enum class Bevel { Lowered, Raised };

    explicit Panel(QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    QString caption() const { return m_caption; }
    void setCaptionAlignment(Qt::Alignment horizontal) {
        m_alignment = horizontal;
        update();
    }
    void setBevels(Bevel outer, Bevel inner);
    // Shrinks the caption's font, never below `minimumPixelSize`, until the caption fits inside
    // the bevels: the calculator keeps long numbers whole.
    void setShrinkToFit(int minimumPixelSize) {
        m_shrinkMinimum = minimumPixelSize;
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
    Qt::Alignment m_alignment = Qt::AlignHCenter;
    Bevel m_outer = Bevel::Lowered;
    Bevel m_inner = Bevel::Raised;
    int m_shrinkMinimum = 0;
};

// A panel that acts on a left click: the press and the release must both land on it. The second
// press of a double-click is no click. It takes no focus and answers no accelerator key.
class PanelButton : public Panel {
    Q_OBJECT
public:
    explicit PanelButton(QWidget* parent = nullptr);

    // A 16 x 16 picture at (8, 8) that swallows clicks on it.
    void setGlyph(const QString& svgResource);

signals:
    void clicked();

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
    bool isClickable() const {
        return isSignalConnected(QMetaMethod::fromSignal(&Picture::clicked));
    }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QSvgRenderer* m_renderer;
};

}  // namespace tobric
