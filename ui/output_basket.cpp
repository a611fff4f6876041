// SPDX-License-Identifier: GPL-3.0-or-later
#include "output_basket.h"

#include <QLineEdit>
#include <QListView>
#include <QStyledItemDelegate>

#include "accessibility.h"

namespace tobric {
namespace {

// The drop-down list's rows are 29 px high, like the field's large font.
class OutputRowDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 29};
    }
};

}  // namespace

void OutputListModel::Append(std::int32_t n) {
    const int row = static_cast<int>(m_outputs.size());
    beginInsertRows(QModelIndex(), row, row);
    m_outputs.push_back(n);
    endInsertRows();
}

int OutputListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_outputs.size());
}

QVariant OutputListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    return QString::number(m_outputs[static_cast<std::size_t>(index.row())]);
}

OutputBasket::OutputBasket(QWidget* parent)
    : QComboBox(parent), m_outputs(new OutputListModel(this)) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // An editable box completes typing from its list, and its completer works through the whole
    // list again on every output: a long run slowed down as its outputs mounted. Nothing typed
    // here needs completing.
    setCompleter(nullptr);
    auto* list = new QListView(this);
    list->setUniformItemSizes(true);
    list->setItemDelegate(new OutputRowDelegate(list));
    setView(list);
    setModel(m_outputs);
    lineEdit()->setAccessibleName(QStringLiteral("OUT Basket"));
    // The field and its list sit on the button face, not on the white of a text box.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Button));
    setPalette(colours);
}

void OutputBasket::ShowOutput(std::int32_t n) {
    const QString text = QString::number(n);
    m_outputs->Append(n);
    // The latest output is current, so the list opens at it.
    setCurrentIndex(m_outputs->rowCount() - 1);
    // A long number in the large font is wider than the field, which would scroll its sign and
    // first digits out of sight: shrink the field's font until the whole number fits.
    QFont fitted = font();
    const int room = lineEdit()->contentsRect().width() - 4;  // the edit's own text margins
    while (fitted.pixelSize() > 8 && QFontMetrics(fitted).horizontalAdvance(text) > room)
        fitted.setPixelSize(fitted.pixelSize() - 1);
    lineEdit()->setFont(fitted);
    lineEdit()->setText(text);
    lineEdit()->setCursorPosition(0);
    AnnounceValueChange(this, text);
}

}  // namespace tobric
