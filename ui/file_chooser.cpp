// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_chooser.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QScrollBar>
#include <QSettings>
#include <QTime>
#include <QTreeView>
#include <array>

namespace tobric {
namespace {

// Opens wide enough to show the name and every other column of its detail view whole: the
// toolkit's own widths cut the size, the type and the date short.
class ProgramFileDialog final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void showEvent(QShowEvent* event) override {
        // The children are laid out by now and the window is not yet on the screen.
        if (auto* view = findChild<QTreeView*>(QStringLiteral("treeView"))) FitColumns(*view);
        QFileDialog::showEvent(event);  // then centred at its final size
    }

private:
    void FitColumns(QTreeView& view) {
        QHeaderView& header = *view.header();
        if (header.count() < 4) return;
        // Room for the name as wide as the toolkit makes it, and for typical widest texts of the
        // size, the type and the date.
        const QLocale locale = QLocale::system();
        const std::array<QString, 3> samples = {
            locale.formattedDataSize(1023), QStringLiteral("OpenDocument spreadsheet"),
            locale.toString(QDateTime(QDate(2000, 5, 28), QTime(20, 58, 58)),
                            QLocale::ShortFormat)};
        const int padding = 4 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
        int wanted = header.sectionSize(0) + view.verticalScrollBar()->sizeHint().width() +
                     2 * view.frameWidth();
        for (const QString& sample : samples)
            wanted += view.fontMetrics().horizontalAdvance(sample) + padding;
        if (wanted > view.width()) resize(width() + wanted - view.width(), height());
        // Whatever a folder holds, the size, type and date show whole; the name takes the rest.
        header.setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header.count(); ++column)
            header.setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
};

}  // namespace

DialogFileChooser::DialogFileChooser(QWidget* parent) : m_parent(parent) {
    // The file dialogs keep their history and last folder in the toolkit's own settings file. The
    // program keeps no settings: point those settings at a folder that can never exist (a path
    // under a device file), so that nothing is read from there and nothing is ever written.
    for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
        QSettings::setPath(QSettings::defaultFormat(), scope, QStringLiteral("/dev/null"));
}

std::optional<std::string> DialogFileChooser::Choose(bool save, std::string& lastName) {
    ProgramFileDialog dialog(m_parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (!lastName.empty()) dialog.selectFile(QFile::decodeName(lastName.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    lastName = QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
    return lastName;
}

}  // namespace tobric
