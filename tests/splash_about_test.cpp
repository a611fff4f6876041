// SPDX-License-Identifier: GPL-3.0-or-later
// The windows as the user sees them: their titles, where they open, the splash sequence at
// start-up and the about box. Runs offscreen and again under a real X server with a window
// manager, which alone gives the windows their frames.

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <functional>

#include "support/qt_test_main.h"
#include "support/window_driver.h"
#include "ui/about_box.h"
#include "ui/editor_window.h"
#include "ui/file_chooser.h"
#include "ui/input_prompt.h"
#include "ui/main_window.h"
#include "ui/notice.h"
#include "ui/panel.h"
#include "ui/splash_window.h"

using namespace tobric;
using namespace tobric_test;

// Opens a window; returns at once, or when the window is closed for a modal one.
using Opening = std::function<void()>;
Q_DECLARE_METATYPE(Opening)

namespace {

// Opens a notice and calls `whileOpen` from inside its loop; once that returns, every notice
// still open is closed, so a failed check leaves none behind.
void OpenNoticeWhile(const std::function<void()>& whileOpen) {
    QTimer::singleShot(0, qApp, [whileOpen] {
        const auto closeNotices = qScopeGuard([] {
            for (QWidget* box : BoxWatcher::OpenNotices())
                QTimer::singleShot(0, box, &QWidget::close);
        });
        whileOpen();
    });
    ShowNoticeBox("Program Halted");
}

}  // namespace

class SplashAboutTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<TForm2> m_splash;
    std::unique_ptr<Taboutfrm> m_about;
    std::unique_ptr<TForm4> m_editor;

    void ClickStrip() { QTest::mouseClick(m_form->Image1, Qt::LeftButton, {}, QPoint(10, 100)); }

    // The title shown for the window just opened, which is then closed again.
    QString TitleOfOpenedWindow(const QString& caption) {
        QWidget* window = QApplication::activeModalWidget();
        for (QWidget* candidate : QApplication::topLevelWidgets())
            if (!window && candidate->isVisible() && candidate->windowTitle() == caption)
                window = candidate;
        if (!window) return QStringLiteral("(no window captioned %1)").arg(caption);
        const QString shown = TitleShown(*window);
        if (auto* dialog = qobject_cast<QDialog*>(window))
            dialog->reject();
        else
            window->close();
        return shown;
    }

private slots:
    void init() {
        // Created in the program's order; the timers start counting now.
        m_form = std::make_unique<TForm1>();
        m_splash = std::make_unique<TForm2>(m_form.get());
        m_about = std::make_unique<Taboutfrm>();
        m_editor = std::make_unique<TForm4>(m_form->machine(), m_form.get());
        m_form->SetCompanions(m_splash.get(), m_about.get(), [this] { m_editor->Open(); });
    }

    void cleanup() {
        m_editor.reset();
        m_about.reset();
        m_splash.reset();
        m_form.reset();
    }

    void splashTimerCountsFromCreation() {
        QVERIFY(m_splash->Timer1->isActive());
        QCOMPARE(m_splash->Timer1->interval(), 5000);
        QVERIFY(m_form->splash->isActive());
        QCOMPARE(m_form->splash->interval(), 1);
        QVERIFY(!m_splash->isVisible());
    }

    void mainWindowCentredAndSplashOverItThenGone() {
        m_form->show();
        QTRY_VERIFY(m_splash->isVisible());
        QVERIFY(!m_form->splash->isActive());  // disabled at its first tick
        QVERIFY(m_splash->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(m_splash->size(), QSize(150, 153));
        QCOMPARE(m_splash->Image1->geometry(), QRect(0, 0, 149, 153));
        // By outer frames: the main window's centred on the screen, the splash over it.
        QVERIFY2(WaitForFrame(*m_form), "no frame within 5 s");
        QTRY_COMPARE(OffCentre(SettledFrame(*m_form), m_form->screen()->geometry()), QPoint());
        QTRY_COMPARE(OffCentre(SettledFrame(*m_splash), SettledFrame(*m_form)), QPoint());
        m_splash->Timer1Timer();
        QVERIFY(!m_splash->isVisible());
        QVERIFY(!m_splash->Timer1->isActive());
        QVERIFY(m_form->isVisible());
    }

    void clickOnThePictureHidesItForGood() {
        m_form->show();
        QTRY_VERIFY(m_splash->isVisible());
        QTest::mouseClick(m_splash->Image1, Qt::LeftButton, {}, QPoint(70, 70));
        QVERIFY(!m_splash->isVisible());
        QVERIFY(!m_splash->Timer1->isActive());
        QTest::qWait(30);
        QVERIFY(!m_splash->isVisible());
    }

    void splashHiddenEarlyStaysHiddenWhenItsTimerTicks() {
        m_form->show();
        QTRY_VERIFY(m_splash->isVisible());
        m_splash->hide();
        m_splash->Timer1Timer();
        QVERIFY(!m_splash->isVisible());
        QVERIFY(m_form->isVisible());
    }

    void aboutBoxOpensOnceAndKeepsItsPlace() {
        m_form->show();
        ClickStrip();
        ClickStrip();
        QVERIFY(m_about->isVisible());
        int open = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            open += qobject_cast<Taboutfrm*>(w) && w->isVisible();
        QCOMPARE(open, 1);
        QVERIFY(m_about->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!m_about->isModal());
        QVERIFY(m_form->isEnabled());
        QCOMPARE(m_about->size(), QSize(229, 273));
        QCOMPARE(m_about->windowTitle(), QStringLiteral("About"));

        // Shown again where it was first placed, then where the user dragged it.
        QVERIFY2(WaitForFrame(*m_about), "no frame within 5 s");
        const QPoint first = SettledFrame(*m_about).topLeft();
        QTest::keyClick(m_about.get(), Qt::Key_Escape);
        QVERIFY(!m_about->isVisible());
        ClickStrip();
        QVERIFY(m_about->isVisible());
        QCOMPARE(SettledFrame(*m_about).topLeft(), first);
        const QPoint dragged = first - QPoint(first.x() / 2, first.y() / 2);
        m_about->windowHandle()->setFramePosition(dragged);  // a move that bypasses the widget
        QTRY_COMPARE(SettledFrame(*m_about).topLeft(), dragged);
        QTest::keyClick(m_about.get(), Qt::Key_Escape);
        ClickStrip();
        QCOMPARE(SettledFrame(*m_about).topLeft(), dragged);
    }

    void aboutBoxClosesByOkEnterAndCloseBox() {
        m_form->show();
        ClickStrip();
        QCOMPARE(m_about->Button1->text(), QStringLiteral("OK"));
        QVERIFY(m_about->Button1->isDefault());
        m_about->Button1->click();
        QVERIFY(!m_about->isVisible());
        ClickStrip();
        QTest::keyClick(m_about.get(), Qt::Key_Return);
        QVERIFY(!m_about->isVisible());
        ClickStrip();
        m_about->close();
        QVERIFY(!m_about->isVisible());
        QVERIFY(m_form->isVisible());  // closing it leaves the program running
    }

    void aboutBoxTextsAndOnlyTabStop() {
        const auto* version = m_about->findChild<QLabel*>(QStringLiteral("Label2"));
        const auto* notice = m_about->findChild<QLabel*>(QStringLiteral("Label3"));
        QVERIFY(version && notice);
        QCOMPARE(version->text(), QStringLiteral("ver 1.0 "));
        QVERIFY(notice->text().contains(QStringLiteral("1.0")));
        for (QWidget* child : m_about->findChildren<QWidget*>())
            if (child != m_about->Button1) QVERIFY(!(child->focusPolicy() & Qt::TabFocus));
    }

    // Exactly the caption, as the window manager shows it: nothing appended.
    void windowTitlesAreTheirCaptions_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<Opening>("open");
        QTest::newRow("about box") << "About" << Opening([this] { ClickStrip(); });
        QTest::newRow("editor") << "Edit Tobric Program" << Opening([this] { m_editor->Open(); });
        QTest::newRow("notice") << "Compiler Message" << Opening([] { ShowNoticeBox("Hi"); });
        QTest::newRow("prompt") << "Edit Mailbox"
                                << Opening([] { InputPrompt(nullptr, "Edit Mailbox", "?", ""); });
        QTest::newRow("open dialog")
            << "Open" << Opening([this] { DialogFileChooser(m_form.get()).ChooseFileToOpen(); });
        QTest::newRow("save dialog")
            << "Save As" << Opening([this] { DialogFileChooser(m_form.get()).ChooseFileToSave(); });
    }
    void windowTitlesAreTheirCaptions() {
        QFETCH(QString, caption);
        QFETCH(Opening, open);
        m_form->show();
        QString shown;
        const BoxDeadline deadline;
        QTimer::singleShot(0, this, [&] { shown = TitleOfOpenedWindow(caption); });
        open();
        QVERIFY2(!deadline.Expired(), "the window was left open");
        QTRY_VERIFY(!shown.isNull());
        QCOMPARE(shown, caption);
    }

    // A notice opened over another one stands a step down and to the right of it; one opened
    // after an earlier one closed takes the place that one left free, not a step past the last.
    void noticesOpenTogetherStandApart() {
        m_form->show();
        // Until the main window has its frame, a box is placed by guessed frame sizes.
        QVERIFY2(WaitForFrame(*m_form), "no frame within 5 s");
        bool checked = false;
        const BoxDeadline deadline;
        OpenNoticeWhile([&] {
            QWidget* first = BoxWatcher::OpenNotices().value(0);
            QVERIFY(first);
            const QPoint firstPlace = SettledFrame(*first).topLeft();
            OpenNoticeWhile([&] {
                const auto open = BoxWatcher::OpenNotices();
                QCOMPARE(open.size(), 2);
                const QPoint step =
                    SettledFrame(*open[1]).topLeft() - SettledFrame(*open[0]).topLeft();
                QVERIFY(step.x() != 0);
                QCOMPARE(step.y(), step.x());
                OpenNoticeWhile([&] {
                    QCOMPARE(BoxWatcher::OpenNotices().size(), 3);
                    first->close();
                    const auto others = BoxWatcher::OpenNotices();
                    QCOMPARE(others.size(), 2);
                    OpenNoticeWhile([&] {
                        auto latest = BoxWatcher::OpenNotices();
                        for (QMessageBox* box : others) latest.removeOne(box);
                        QCOMPARE(latest.size(), 1);
                        QCOMPARE(SettledFrame(*latest[0]).topLeft(), firstPlace);
                        checked = true;
                    });
                });
            });
        });
        QVERIFY2(!deadline.Expired(), "a notice was left open");
        QVERIFY(checked);
    }

    // The dialogs take nothing from the toolkit's settings file, change nothing in it, and show
    // each column of a folder whole.
    void fileDialogsKeepNoSettingsAndShowEveryColumn() {
        const QDir config(qEnvironmentVariable("XDG_CONFIG_HOME"));
        QVERIFY(config.mkpath(QStringLiteral(".")));
        const QString settingsPath = config.filePath(QStringLiteral("QtProject.conf"));
        const QUrl folder = QUrl::fromLocalFile(config.path());
        const QByteArray settings =
            "[FileDialog]\nsidebarWidth=90\nshortcuts=" + folder.toEncoded() + "\n";
        {
            QFile file(settingsPath);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(settings);
        }

        bool checked = false;
        const BoxDeadline deadline;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            const auto close = qScopeGuard([dialog] {
                if (dialog) dialog->reject();
            });
            QVERIFY(dialog);
            QVERIFY(!dialog->sidebarUrls().contains(folder));
            dialog->setDirectory(QStringLiteral(TOBRIC_EXAMPLES_DIR));
            auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
            QVERIFY(view && view->isVisible());
            const QAbstractItemModel& files = *view->model();
            QTRY_VERIFY(files.rowCount(view->rootIndex()) > 10);
            const QHeaderView& header = *view->header();
            QCOMPARE(header.count(), 4);
            // Name, size, type and date, each as wide as its widest entry, side by side in view.
            const auto everyColumnWhole = [&] {
                for (int column = 0; column < header.count(); ++column) {
                    const auto* rows = static_cast<const QAbstractItemView*>(view);
                    if (header.isSectionHidden(column) ||
                        header.sectionSize(column) < rows->sizeHintForColumn(column))
                        return false;
                }
                return header.length() <= view->viewport()->width();
            };
            QVERIFY2(QTest::qWaitFor(everyColumnWhole), "a column stayed cut or hidden for 5 s");
            checked = true;
        });
        DialogFileChooser(m_form.get()).ChooseFileToOpen();
        QVERIFY2(!deadline.Expired(), "the file dialog was left open");
        QVERIFY(checked);
        QFile file(settingsPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), settings);
        QCOMPARE(config.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{QStringLiteral("QtProject.conf")});
    }
};

TOBRIC_QT_TEST_MAIN(SplashAboutTest)

#include "splash_about_test.moc"
