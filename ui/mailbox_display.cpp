#include "mailbox_display.h"

#include <QContextMenuEvent>
#include <QPainter>

#include "machine/display_text.h"
#include "machine/store.h"
#include "text_codec.h"

namespace tobric {

MailboxModel::MailboxModel(const Store& store, QObject* parent)
    : QAbstractListModel(parent), m_store(store) {}

void MailboxModel::Rebuild() {
    beginResetModel();
    m_rows = m_store.Count();
    endResetModel();
}

int MailboxModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

QVariant MailboxModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
    const int row = index.row();
    // A row past the end of a store that a failed command has shortened shows its number only.
    const std::string_view line =
        row < m_store.Count() ? std::string_view(m_store.Lines()[static_cast<std::size_t>(row)])
                              : std::string_view();
    return ToQt(MailboxRowText(static_cast<std::uint16_t>(row), line));
}

void MailboxRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    painter->save();
    painter->fillRect(option.rect, palette.color(selected ? QPalette::Highlight : QPalette::Button));
    painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::WindowText));
    painter->setFont(option.font);
    const QRect text = option.rect.adjusted(2, 0, 0, 0);
    painter->setClipRect(option.rect);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.backgroundColor = palette.color(selected ? QPalette::Highlight : QPalette::Button);
        option.widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter,
                                              option.widget);
    }
}

QSize MailboxRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return {0, 16};
}

MailboxDisplay::MailboxDisplay(const Store& store, QWidget* parent)
    : QListView(parent), m_model(store, this) {
    setModel(&m_model);
    setItemDelegate(new MailboxRowDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setBackgroundRole(QPalette::Button);
    viewport()->setBackgroundRole(QPalette::Button);
    setAccessibleName(QStringLiteral("Mailboxes"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void MailboxDisplay::Rebuild() {
    m_model.Rebuild();
    scrollToTop();
    viewport()->repaint();
}

int MailboxDisplay::SelectedIndex() const {
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void MailboxDisplay::mousePressEvent(QMouseEvent* event) {
    // A right click opens the popup on the row selected before; it selects nothing itself.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QListView::mousePressEvent(event);
}

void MailboxDisplay::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint position = event->reason() == QContextMenuEvent::Keyboard
                                ? mapToGlobal(QPoint(0, 0))
                                : event->globalPos();
    event->accept();
    emit menuRequested(position);
}

}  // namespace tobric
