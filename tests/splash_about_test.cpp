// The splash sequence at start-up and the about box, offscreen.

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ui/about_box.h"
#include "ui/fonts.h"
#include "ui/main_window.h"
#include "ui/panel.h"
#include "ui/splash_window.h"

using namespace tobric;

class SplashAboutTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<TForm2> m_splash;
    std::unique_ptr<Taboutfrm> m_about;

    void ClickStrip() { QTest::mouseClick(m_form->Image1, Qt::LeftButton, {}, QPoint(10, 100)); }

private slots:
    void init() {
        // Created in the program's order; the timers start counting now.
        m_form = std::make_unique<TForm1>();
        m_splash = std::make_unique<TForm2>(m_form.get());
        m_about = std::make_unique<Taboutfrm>();
        m_form->SetCompanions(m_splash.get(), m_about.get(), nullptr);
    }

    void cleanup() {
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

    void splashStandsCentredOverTheMainWindowThenGoes() {
        m_form->move(100, 80);
        m_form->show();
        QTRY_VERIFY(m_splash->isVisible());
        QVERIFY(!m_form->splash->isActive());  // disabled at its first tick
        QVERIFY(m_splash->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(m_splash->size(), QSize(150, 153));
        const QRect main = m_form->frameGeometry();
        QCOMPARE(m_splash->pos(), QPoint(main.left() + (main.width() - 150) / 2,
                                         main.top() + (main.height() - 153) / 2));
        QCOMPARE(m_splash->Image1->geometry(), QRect(0, 0, 149, 153));
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
        for (QWidget* w : QApplication::topLevelWidgets()) open += qobject_cast<Taboutfrm*>(w) && w->isVisible();
        QCOMPARE(open, 1);
        QVERIFY(m_about->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!m_about->isModal());
        QVERIFY(m_form->isEnabled());
        QCOMPARE(m_about->size(), QSize(229, 273));
        QCOMPARE(m_about->windowTitle(), QStringLiteral("About"));

        m_about->move(40, 30);
        const QPoint place = m_about->pos();
        QTest::keyClick(m_about.get(), Qt::Key_Escape);
        QVERIFY(!m_about->isVisible());
        ClickStrip();
        QVERIFY(m_about->isVisible());
        QCOMPARE(m_about->pos(), place);
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
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    UseWindowFontEverywhere();
    SplashAboutTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "splash_about_test.moc"
