// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The numbered mailbox display: a list of 16-pixel rows drawn straight from the store. Only the
// rows on screen are ever turned into text, so a rebuild costs the same for 65,535 lines as for
// 100, and a million-line store scrolls as freely as a short one.

#include <QAbstractScrollArea>
#include <QString>

namespace tobric {

class Store;

class MailboxDisplay final : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 16;

    // Draws `store`, which must journal its changes (Store::TrackShownLines) and outlive the
    // display.
    MailboxDisplay(const Store& store, QWidget* parent);

    // Shows the store's lines last marked as shown (the machine marks them as it rebuilds): no
    // row selected, back at the first row, repainted at once. Until the next rebuild the rows stay
    // as they were, even when a failed command has changed the store without rebuilding.
    void Rebuild();

    int RowCount() const { return m_rows; }
    // The row as shown: its number, a blank and the store line.
    QString RowText(int row) const;
    // The selected row, or -1.
    int SelectedIndex() const { return m_selected; }
    void SelectRow(int row);
    // Where a row is drawn in the viewport, and the row at a viewport position (-1 for none).
    QRect RowRect(int row) const;
    int RowAt(const QPoint& viewportPosition) const;

signals:
    // Every row was replaced by a rebuild.
    void RowsReplaced();
    // A right click or the context-menu key: open the popup at this global position.
    void MenuRequested(const QPoint& globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    int RowsOnScreen() const;
    int TopRow() const;
    // The row the keyboard works from: the selected one, else the first on screen.
    int FocusRow() const { return m_selected < 0 ? TopRow() : m_selected; }
    void UpdateScrollRange();
    void DrawRow(QPainter& painter, int row) const;

    const Store& m_store;
    int m_rows = 0;
    int m_selected = -1;
};

}  // namespace tobric
