// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program editor: the whole program as plain text, one mailbox line per text line, written
// back to the store in one go by Save Changes. The main window is disabled while it is open.

#include <QString>
#include <QWidget>
#include <string>
#include <vector>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace tobric {

class Machine;

class TForm4 final : public QWidget {
    Q_OBJECT
public:
    TForm4(Machine& machine, QWidget* mainWindow);

    // Edit Program in Editor: fill the text from the store, show, disable the main window. A large
    // store's text goes in a part at a time from the event loop after the window shows (see
    // StillFilling).
    void Open();
    // Whether lines of the store are still to come into the text. Until they are in, the text box
    // takes no edit; any key or click in it, and Save Changes, first put in the rest at once.
    bool StillFilling() const { return m_fillFrom < m_fillText.size(); }
    void Button1Click();  // Save Changes
    void Button2Click();  // Cancel Changes
    void Button3Click();  // Clear All

    // The lines of the text as the box shows them: a wrapped line gives one line per row, a
    // break at the very end starts no further line, and an empty text has none.
    std::vector<std::string> DisplayedLines() const;

    QPlainTextEdit* tobriceditor = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QLineEdit* lineno = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillNextPart();
    void FinishFilling();
    void StopFilling();

    Machine& m_machine;
    QWidget* m_mainWindow;
    // The text Open has still to put in, from m_fillFrom on, and the timer that puts in each part.
    QString m_fillText;
    qsizetype m_fillFrom = 0;
    QTimer* m_filler = nullptr;
};

}  // namespace tobric
