#pragma once
// The numbered mailbox display. It shows the store through a model, so a rebuild costs the same
// for 65,535 lines as for 100: only the rows on screen are ever turned into text.

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>

namespace tobric {

class Store;

class MailboxModel final : public QAbstractListModel {
    Q_OBJECT
public:
    explicit MailboxModel(const Store& store, QObject* parent = nullptr);

    // Takes the store's line count anew and drops every old row. Until the next rebuild the
    // display keeps that count, even when a failed command has made the store longer or shorter.
    void Rebuild();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const Store& m_store;
    int m_rows = 0;
};

// 16-pixel rows: background or selection colour, the text 2 px in, clipped, "&" shown as itself.
class MailboxRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

class MailboxDisplay final : public QListView {
    Q_OBJECT
public:
    MailboxDisplay(const Store& store, QWidget* parent);

    // Rebuilds from the store: no row selected, back at the first row, repainted at once.
    void Rebuild();
    // The selected row, or -1.
    int SelectedIndex() const;

signals:
    // A right click or the context-menu key: open the popup at this global position.
    void menuRequested(const QPoint& globalPosition);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    MailboxModel m_model;
};

}  // namespace tobric
