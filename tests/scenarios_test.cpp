// SPDX-License-Identifier: GPL-3.0-or-later
// The shared end-to-end scenarios (tests/scenarios/) played through the main window, offscreen.
// The browser edition plays the same file (web/tests/scenarios.test.ts): both must show the same.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "support/qt_test_main.h"
#include "support/temp_folder.h"
#include "support/window_driver.h"
#include "ui/editor_window.h"
#include "ui/mailbox_display.h"
#include "ui/main_window.h"
#include "ui/output_basket.h"
#include "ui/panel.h"

using namespace tobric;
using tobric_test::BoxWatcher;

namespace {

// Compared as compact JSON under the display's name, so that a failure prints both sides.
QString Json(const QString& name, const QJsonValue& value) {
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{name, value}}).toJson(QJsonDocument::Compact));
}

// What the window shows under an expectation's name in the scenario file.
QJsonValue Shown(TForm1& form, const BoxWatcher& boxes, const QString& name) {
    if (name == QLatin1String("calculator")) return form.calculatorValueText->caption();
    if (name == QLatin1String("outbasket")) return form.outbasket->lineEdit()->text();
    if (name == QLatin1String("rowCount")) return form.mailboxshow->RowCount();
    if (name == QLatin1String("notices")) return QJsonArray::fromStringList(boxes.notices);
    if (name == QLatin1String("errors")) return QJsonArray::fromStringList(boxes.errors);
    if (name == QLatin1String("outList")) {
        QJsonArray items;
        for (int i = 0; i < form.outbasket->count(); ++i) items.append(form.outbasket->itemText(i));
        return items;
    }
    if (auto* box = form.findChild<QLineEdit*>(name)) return box->text();
    return QStringLiteral("(no display named %1)").arg(name);
}

const QHash<QString, Qt::Key> kSpeedKeys = {
    {QStringLiteral("Home"), Qt::Key_Home},      {QStringLiteral("End"), Qt::Key_End},
    {QStringLiteral("ArrowLeft"), Qt::Key_Left}, {QStringLiteral("ArrowRight"), Qt::Key_Right},
    {QStringLiteral("PageUp"), Qt::Key_PageUp},  {QStringLiteral("PageDown"), Qt::Key_PageDown},
};

}  // namespace

class ScenariosTest : public QObject {
    Q_OBJECT

private slots:
    void plays_data() {
        QFile file(QStringLiteral(TOBRIC_SCENARIOS_FILE));
        QVERIFY2(file.open(QIODevice::ReadOnly), TOBRIC_SCENARIOS_FILE);
        QJsonParseError error{};
        const QJsonDocument scenarios = QJsonDocument::fromJson(file.readAll(), &error);
        QVERIFY2(scenarios.isArray(), qPrintable(error.errorString()));
        QTest::addColumn<QJsonArray>("steps");
        for (const QJsonValue& scenario : scenarios.array())
            QTest::newRow(qPrintable(scenario[u"name"].toString())) << scenario[u"steps"].toArray();
    }

    void plays() {
        QFETCH(QJsonArray, steps);
        auto chooser = std::make_unique<tobric_test::ScriptedFileChooser>();
        auto& files = *chooser;
        TForm1 form(std::move(chooser));
        form.SetProcessExit([](int) {});
        TForm4 editor(form.machine(), &form);
        form.SetCompanions(nullptr, nullptr, [&editor] { editor.Open(); });
        BoxWatcher boxes;
        const tobric_test::TempFolder folder;
        // The prompts are answered as they open, from the answers in the order the file gives.
        for (const QJsonValue& step : steps)
            if (const QJsonValue answer = step[u"answer"]; !answer.isUndefined())
                boxes.answers.push_back(answer.isNull() ? std::nullopt
                                                        : std::optional(answer.toString()));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        qsizetype promptsSeen = 0;
        for (const QJsonValue& value : steps) {
            const QJsonObject step = value.toObject();
            if (step.contains(u"load")) {
                const std::string path = folder / "program.txt";
                tobric_test::WriteBytes(path, step[u"load"].toString().toLatin1().toStdString());
                files.openAnswers.push_back(path);
                QTest::mouseClick(form.loadmenu, Qt::LeftButton);
            } else if (step.contains(u"loadCancelled")) {
                files.openAnswers.push_back(std::nullopt);
                QTest::mouseClick(form.loadmenu, Qt::LeftButton);
            } else if (step.contains(u"click")) {
                for (const QJsonValue name : step[u"click"].toArray()) {
                    auto* button = form.findChild<PanelButton*>(name.toString());
                    QVERIFY2(button, qPrintable(name.toString()));
                    QTest::mouseClick(button, Qt::LeftButton);
                }
            } else if (step.contains(u"speed")) {
                for (const QJsonValue key : step[u"speed"].toArray()) {
                    QVERIFY2(kSpeedKeys.contains(key.toString()), qPrintable(key.toString()));
                    QTest::keyClick(form.ScrollBar1, kSpeedKeys.value(key.toString()));
                }
            } else if (step.contains(u"menu")) {
                const int row = step[u"row"].toInt();
                // Through the window, as the window system delivers clicks: a right press there
                // is what asks for the popup menu.
                QWidget* rows = form.mailboxshow->viewport();
                const QPoint at = rows->mapTo(&form, form.mailboxshow->RowRect(row).center());
                QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, at);
                QTest::mouseClick(form.windowHandle(), Qt::RightButton, {}, at);
                QTRY_VERIFY(form.mailboxmenu->isVisible());
                QAction* chosen = nullptr;
                for (QAction* action : form.mailboxmenu->actions())
                    if (action->text() == step[u"menu"].toString()) chosen = action;
                QVERIFY(chosen);
                QTest::mouseClick(form.mailboxmenu, Qt::LeftButton, {},
                                  form.mailboxmenu->actionGeometry(chosen).center());
            } else if (step.contains(u"editor")) {
                // The editor open: its whole text typed over, then Save Changes.
                QTRY_VERIFY(editor.isVisible());
                editor.tobriceditor->setPlainText(step[u"editor"].toString());
                QTest::mouseClick(editor.Button1, Qt::LeftButton);
            } else if (step.contains(u"answer")) {
                QTRY_VERIFY(boxes.promptCaptions.size() > promptsSeen);
                QCOMPARE(boxes.promptCaptions[promptsSeen], step[u"prompt"].toString());
                QCOMPARE(boxes.promptDefaults[promptsSeen], step[u"default"].toString());
                ++promptsSeen;
            } else if (step.contains(u"untilHalted")) {
                QTRY_VERIFY_WITH_TIMEOUT(!form.executionTimer().Enabled(), 5000);
            } else if (step.contains(u"expect")) {
                const QJsonObject expected = step[u"expect"].toObject();
                for (auto it = expected.begin(); it != expected.end(); ++it) {
                    if (it.key() != QLatin1String("rows")) {
                        QTRY_COMPARE(Json(it.key(), Shown(form, boxes, it.key())),
                                     Json(it.key(), it.value()));
                        continue;
                    }
                    const QJsonObject rows = it.value().toObject();
                    for (auto row = rows.begin(); row != rows.end(); ++row)
                        QTRY_COMPARE(form.mailboxshow->RowText(row.key().toInt()),
                                     row.value().toString());
                }
            } else {
                QFAIL(qPrintable(QStringLiteral("unknown step: ") +
                                 Json(QStringLiteral("step"), step)));
            }
        }
        QCOMPARE(boxes.promptCaptions.size(), promptsSeen);  // no prompt the file did not expect
    }
};

TOBRIC_QT_TEST_MAIN(ScenariosTest)

#include "scenarios_test.moc"
