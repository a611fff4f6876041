#include "file_chooser.h"

#include <QFile>
#include <QFileDialog>

namespace tobric {

std::optional<std::string> DialogFileChooser::ChooseFileToOpen() {
    return Choose(false, m_lastOpenName);
}

std::optional<std::string> DialogFileChooser::ChooseFileToSave() {
    return Choose(true, m_lastSaveName);
}

std::optional<std::string> DialogFileChooser::Choose(bool save, std::string& lastName) {
    QFileDialog dialog(m_parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (!lastName.empty()) dialog.selectFile(QFile::decodeName(lastName.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QByteArray path = QFile::encodeName(dialog.selectedFiles().constFirst());
    lastName.assign(path.constData(), static_cast<std::size_t>(path.size()));
    return lastName;
}

}  // namespace tobric
