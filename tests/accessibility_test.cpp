// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds in the main window and what it can do there, asked in-process.

#include <QAccessible>
#include <QAccessibleBridge>
#include <QLineEdit>
#include <QTest>
#include <QtPlugin>
#include <algorithm>
#include <vector>

#include "support/qt_test_main.h"
#include "support/temp_folder.h"
#include "support/window_driver.h"
#include "ui/mailbox_display.h"
#include "ui/main_window.h"
#include "ui/panel.h"

using namespace tobric;

namespace {

// The events the window sends, caught the way a platform bridge gets them. Qt passes events to
// installed bridges even while no reader is active; its update handler only sees them once one
// is, and the offscreen platform never has one.
struct Heard {
    QAccessible::Event type;
    QObject* object;
    int child;
    QString text;  // the text inserted, or the new value
    bool operator==(const Heard&) const = default;
};
std::vector<Heard> heardEvents;

class EventCatcher final : public QAccessibleBridge {
public:
    void setRootObject(QAccessibleInterface*) override {}
    void notifyAccessibilityUpdate(QAccessibleEvent* event) override {
        QString text;
        if (event->type() == QAccessible::TextUpdated)
            text = static_cast<QAccessibleTextUpdateEvent*>(event)->textInserted();
        else if (event->type() == QAccessible::ValueChanged)
            text = static_cast<QAccessibleValueChangeEvent*>(event)->value().toString();
        heardEvents.push_back({event->type(), event->object(), event->child(), text});
    }
};

class EventCatcherPlugin final : public QAccessibleBridgePlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QAccessibleBridgeFactoryInterface_iid FILE "accessibility_test.json")
public:
    // Asked once; Qt keeps the bridge to the end and never deletes it.
    QAccessibleBridge* create(const QString&) override {
        static EventCatcher catcher;
        return &catcher;
    }
};

bool HeardEvent(QAccessible::Event type, QObject* object, int child, const QString& text = {}) {
    return std::ranges::find(heardEvents, Heard{type, object, child, text}) != heardEvents.end();
}

QAccessibleInterface* Reader(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

}  // namespace

Q_IMPORT_PLUGIN(EventCatcherPlugin)

class AccessibilityTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TForm1> m_form;
    tobric_test::ScriptedFileChooser* m_files = nullptr;
    tobric_test::TempFolder m_folder;

    QWidget* Control(const QString& name) { return m_form->findChild<QWidget*>(name); }

    void Press(const char* name) {
        QAccessibleActionInterface* actions =
            Reader(Control(QLatin1String(name)))->actionInterface();
        actions->doAction(QAccessibleActionInterface::pressAction());
    }

    // Load through the Load button's press action, as a reader's user would.
    void LoadProgram(const char* text) {
        const std::string path = m_folder / "program.txt";
        tobric_test::WriteBytes(path, text);
        m_files->openAnswers.push_back(path);
        Press("loadmenu");
        QTRY_COMPARE(m_form->mailboxshow->RowCount(), 100);
    }

private slots:
    void init() {
        auto files = std::make_unique<tobric_test::ScriptedFileChooser>();
        m_files = files.get();
        m_form = std::make_unique<TForm1>(std::move(files));
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        heardEvents.clear();
    }

    void cleanup() { m_form.reset(); }

    void controlsHaveRolesNamesAndActions_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("pressable");
        const auto button = QAccessible::Button;
        QTest::newRow("command, blanks and & dropped") << "runmenu" << button << "Run" << true;
        QTest::newRow("command, & inside") << "menuExit" << button << "Exit Tobric" << true;
        QTest::newRow("keypad digit") << "no7calc" << button << "7" << true;
        QTest::newRow("keypad minus") << "subcalc" << button << "-" << true;
        QTest::newRow("image strip") << "Image1" << button << "About Tobric Computer" << true;
        QTest::newRow("heading") << "Panel1" << QAccessible::StaticText << "Tobric Controls"
                                 << false;
        QTest::newRow("container") << "Panel2" << QAccessible::Grouping << "Controls" << false;
        QTest::newRow("calculator")
            << "calculatorValueText" << QAccessible::StaticText << "Calculator" << false;
        QTest::newRow("OUT basket, opens its list")
            << "outbasket" << QAccessible::ComboBox << "OUT Basket" << true;
        QTest::newRow("mailboxes") << "mailboxshow" << QAccessible::List << "Mailboxes" << false;
        QTest::newRow("speed picture") << "Image10" << QAccessible::Graphic << "Fast" << false;
    }

    void controlsHaveRolesNamesAndActions() {
        QFETCH(QString, control);
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, name);
        QFETCH(bool, pressable);
        QAccessibleInterface* reader = Reader(Control(control));
        QVERIFY(reader);
        QCOMPARE(reader->role(), role);
        QCOMPARE(reader->text(QAccessible::Name), name);
        const QStringList actions = reader->actionInterface()->actionNames();
        QCOMPARE(actions.contains(QAccessibleActionInterface::pressAction()), pressable);
        if (role == QAccessible::Button) QCOMPARE(reader->childCount(), 0);  // no bare glyph
        // The panels stay out of the keyboard's way.
        if (qobject_cast<Panel*>(Control(control))) QVERIFY(!reader->state().focusable);
    }

    void pressActionsClickOnlyWhatTheMouseCould() {
        Press("no7calc");
        QAccessibleInterface* calculator = Reader(m_form->calculatorValueText);
        QTRY_COMPARE(calculator->text(QAccessible::Value), QStringLiteral("7"));

        LoadProgram("LDA 05\r\nHLT\r\n");
        Press("stepmenu");
        QTRY_COMPARE(m_form->opcodetext->text(), QStringLiteral("LDA"));

        // While the editor has the window disabled, a press does nothing, as a click would.
        m_form->setEnabled(false);
        Press("stepmenu");
        Press("no8calc");
        QTest::qWait(20);
        QCOMPARE(m_form->opcodetext->text(), QStringLiteral("LDA"));
        QCOMPARE(calculator->text(QAccessible::Value), QStringLiteral("0"));
    }

    // Each row named as its display is, for the reader.
    void displaysKeepTheirNamesAndShowTheirValues_data() {
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QAccessible::Event>("change");
        QTest::newRow("Calculator") << "calculatorValueText" << -12 << QAccessible::TextUpdated;
        QTest::newRow("OUT Basket") << "outbasket" << 7 << QAccessible::ValueChanged;
    }

    void displaysKeepTheirNamesAndShowTheirValues() {
        QFETCH(QString, display);
        QFETCH(int, shown);
        QFETCH(QAccessible::Event, change);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        const QString value = QString::number(shown);
        m_form->ShowCalculator(-12);
        m_form->ShowOutput(7);
        QAccessibleInterface* reader = Reader(Control(display));
        QCOMPARE(reader->text(QAccessible::Name), name);
        QCOMPARE(reader->text(QAccessible::Value), value);
        QVERIFY(HeardEvent(change, Control(display), -1, value));
        QVERIFY(!HeardEvent(QAccessible::NameChanged, Control(display), -1));
        if (QAccessibleTextInterface* text = reader->textInterface())
            QCOMPARE(text->text(0, text->characterCount()), value);
    }

    void mailboxRowsAreListItems() {
        LoadProgram("LDA 05\r\nHLT\r\n");
        MailboxDisplay* display = m_form->mailboxshow;
        QAccessibleInterface* list = Reader(display);
        QCOMPARE(list->childCount(), 100);
        QCOMPARE(list->child(100), nullptr);
        QAccessibleInterface* first = list->child(0);
        QCOMPARE(first->role(), QAccessible::ListItem);
        QCOMPARE(first->text(QAccessible::Name), QStringLiteral("00 LDA 05"));
        QCOMPARE(list->child(99)->text(QAccessible::Name), QStringLiteral("99 DAT 00"));
        QCOMPARE(list->indexOfChild(list->child(99)), 99);
        QCOMPARE(list->child(0), first);  // asked again, the same item
        QCOMPARE(first->parent(), list);
        QVERIFY(first->state().selectable && !first->state().selected);

        // Moving the selection tells the reader which row is selected and focused now.
        m_form->activateWindow();
        display->setFocus();
        QTRY_VERIFY(display->hasFocus());
        QTest::keyClick(display, Qt::Key_Down);
        heardEvents.clear();
        QTest::keyClick(display, Qt::Key_Down);
        QCOMPARE(display->SelectedIndex(), 1);
        QVERIFY(HeardEvent(QAccessible::Selection, display, 0));  // no longer selected
        QVERIFY(HeardEvent(QAccessible::Selection, display, 1));
        QVERIFY(HeardEvent(QAccessible::Focus, display, 1));
        QAccessibleInterface* second = list->child(1);
        QVERIFY(second->state().selected && second->state().focused);
        QVERIFY(!first->state().selected);
        QCOMPARE(list->focusChild(), second);

        // A rebuild drops every row made so far and tells the reader to fetch them anew.
        const QAccessible::Id oldRow = QAccessible::uniqueId(second);
        m_form->machine().ShowMailboxes();
        QCOMPARE(QAccessible::accessibleInterface(oldRow), nullptr);
        QVERIFY(HeardEvent(QAccessible::TableModelChanged, display, -1));
        QCOMPARE(list->child(1)->text(QAccessible::Name), QStringLiteral("01 HLT"));
        QVERIFY(!list->child(1)->state().selected);
    }
};

TOBRIC_QT_TEST_MAIN(AccessibilityTest)

#include "accessibility_test.moc"
