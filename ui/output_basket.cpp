#include "output_basket.h"

#include <QLineEdit>
#include <QListView>
#include <QStyledItemDelegate>

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

OutputBasket::OutputBasket(QWidget* parent) : QComboBox(parent), m_outputs(new OutputListModel(this)) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    auto* list = new QListView(this);
    list->setUniformItemSizes(true);
    list->setItemDelegate(new OutputRowDelegate(list));
    setView(list);
    setModel(m_outputs);
    setAccessibleName(QStringLiteral("OUT Basket"));
    lineEdit()->setAccessibleName(QStringLiteral("OUT Basket"));
}

void OutputBasket::ShowOutput(std::int32_t n) {
    const QString text = QString::number(n);
    m_outputs->Append(n);
    // Set after appending: the first item added becomes current and would overwrite the field.
    lineEdit()->setText(text);
}

}  // namespace tobric
