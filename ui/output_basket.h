// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The OUT basket: a drop-down list with an editable field. Its list only grows, so the outputs are
// kept as plain numbers (4 bytes each) and turned into text only for the rows on screen.

#include <QAbstractListModel>
#include <QComboBox>
#include <cstdint>
#include <vector>

namespace tobric {

class OutputListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void Append(std::int32_t n);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<std::int32_t> m_outputs;
};

class OutputBasket final : public QComboBox {
    Q_OBJECT
public:
    explicit OutputBasket(QWidget* parent);

    // The field shows n; the list gains n as its last item.
    void ShowOutput(std::int32_t n);

private:
    OutputListModel* m_outputs;
};

}  // namespace tobric
