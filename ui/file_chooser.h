// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace tobric {

// The file choice of Load and Save. The window uses the dialogs; tests put a double in.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The full path of a file to read, or nothing when the user cancelled.
    virtual std::optional<std::string> ChooseFileToOpen() = 0;
    // The full path of a file to write, or nothing when the user cancelled.
    virtual std::optional<std::string> ChooseFileToSave() = 0;
};

// Open and save dialogs with no filter, no default extension, no title of their own and no
// question before replacing a file, in a detail view that shows every column. The open dialog
// accepts names of files that do not exist (the load then reports it). Each remembers the last
// name confirmed in it, for as long as the program runs: the dialogs read and write no settings.
class DialogFileChooser final : public FileChooser {
public:
    explicit DialogFileChooser(QWidget* parent);
    std::optional<std::string> ChooseFileToOpen() override { return Choose(false, m_lastOpenName); }
    std::optional<std::string> ChooseFileToSave() override { return Choose(true, m_lastSaveName); }

private:
    std::optional<std::string> Choose(bool save, std::string& lastName);

    QWidget* m_parent;
    std::string m_lastOpenName;
    std::string m_lastSaveName;
};

}  // namespace tobric
