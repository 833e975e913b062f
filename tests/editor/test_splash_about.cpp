// The splash and About windows, and the start-up order around the splash.
#include <QtTest>

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include "editor/dialogs/about_box.h"
#include "editor/dialogs/splash_window.h"
#include "editor/main_window.h"
#include "editor/message_box_service.h"
#include "editor/program_start.h"
#include "image/capcodes.h"
#include "image/defaults.h"
#include "support/recording_messages.h"
#include "transfer/link_texts.h"

using namespace zr730;

class TestSplashAbout : public QObject {
    Q_OBJECT
private slots:
    void splashShowsTheMainWindowThenClosesItselfAndRestoresTheCursor();
    void messagesStandAboveTheSplash();
    void titlesOfBothEditions();
    void startupSurvivesAReaderSlowerThanTheSplash();
};

void TestSplashAbout::splashShowsTheMainWindowThenClosesItselfAndRestoresTheCursor()
{
    bool mainShown = false;
    QPointer<SplashWindow> splash = new SplashWindow("Acme", LinkSelector::Usb, [&] { mainShown = true; });
    QVERIFY(splash->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(splash->showMainTimer.interval(), 500);
    QCOMPARE(splash->closeTimer.interval(), 5000);
    splash->showSplash();
    QVERIFY(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
    QVERIFY(!mainShown);
    QTRY_VERIFY_WITH_TIMEOUT(mainShown, 2000);
    QVERIFY(splash && splash->isVisible() && !splash->closeTimer.isActive()); // until the main window's load starts it

    splash->closeTimer.setInterval(100); // the wait itself is not under test here
    splash->closeTimer.start();
    QTRY_VERIFY_WITH_TIMEOUT(!splash, 2000);
    QVERIFY(!QApplication::overrideCursor());
}

void TestSplashAbout::messagesStandAboveTheSplash()
{
    MessageBoxService messages;
    QPointer<SplashWindow> splash = new SplashWindow("Acme", LinkSelector::Usb, {}, &messages);
    splash->showSplash();
    bool topMost = false;
    QTimer::singleShot(0, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            topMost = box->windowFlags() & Qt::WindowStaysOnTopHint;
            // The splash closing inside the box's own loop is safe.
            splash->closeSplash();
            QTimer::singleShot(0, box, [box] { box->button(QMessageBox::Ok)->click(); });
        }
    });
    messages.show("The Programmed Board is not responding!", MsgIcon::Warning);
    QVERIFY(topMost);
    QTRY_VERIFY(!splash);
    QVERIFY(!QApplication::overrideCursor());
}

void TestSplashAbout::titlesOfBothEditions()
{
    struct Edition { LinkSelector link; const char *splash, *about; };
    for (const Edition &e : {Edition{LinkSelector::Usb, "ZR730K52(USB) Programmer", "ZR730K52(USB) Pager Programmer"},
                             Edition{LinkSelector::Lpt, "ZR730K Programmer(Test Only)", "ZR730K Pager Programmer"}}) {
        SplashWindow splash("Acme Inc.", e.link, {});
        QCOMPARE(splash.lblProductName->text(), QString(e.splash));
        QVERIFY(splash.lblCopyright->text().endsWith("Acme Inc."));
        AboutBox about("Acme Inc.", e.link);
        QCOMPARE(about.lblTitle->text(), QString(e.about));
        QCOMPARE(about.lblVersion->text(), QString("Version 6.10(2010.9.21)"));
        QCOMPARE(about.Label2->text(), QString(" This program can be used for\n  model ZR-730K52"));
        QVERIFY(about.lblDescription->text().endsWith("made by Acme Inc."));
        QTimer::singleShot(0, &about, [&about] { about.cmdOK->click(); });
        QCOMPARE(about.exec(), int(QDialog::Accepted));
    }
}

void TestSplashAbout::startupSurvivesAReaderSlowerThanTheSplash()
{
    // A reader who answers each message only after the splash has closed itself under it.
    struct SlowReader : testing::RecordingMessages {
        MsgAnswer show(const QString &text, MsgIcon icon, MsgButtons buttons) override
        {
            if (splash) (void)QTest::qWaitFor([this] { return splash.isNull(); }, 10000);
            return RecordingMessages::show(text, icon, buttons);
        }
        QPointer<SplashWindow> splash;
    } messages;
    QTemporaryDir dir;
    ProgramState state(messages);
    state.application_folder = dir.path();
    state.settings.adapterIds.clear();
    state.settings.extraPorts = {dir.filePath("no-board")}; // nothing answers
    PagerImage table = default_image();
    capcode_set(table, 0, 1234567);
    QFile f(dir.filePath("default.tbl"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char *>(table.bytes().data()), kImageSize);
    f.close();

    MainWindow window(state);
    window.coNum->setCurrentIndex(1);
    messages.splash = start_program(window, nullptr, {"a settings problem"});
    messages.splash->closeTimer.setInterval(300); // the reader is slower than the splash
    QTRY_VERIFY_WITH_TIMEOUT(messages.shown.size() == 2, 15000);
    QCOMPARE(messages.texts(), QStringList({text::kBoardNotResponding, "a settings problem"}));
    QVERIFY(messages.splash.isNull());
    QVERIFY(state.window_ready); // the logo was stored
    QCOMPARE(window.coNum->currentIndex(), 0);
    QCOMPARE(window.txtAddr[0]->text(), QString("1234567")); // default.tbl was opened
    QVERIFY(window.isVisible());
}

QTEST_MAIN(TestSplashAbout)
#include "test_splash_about.moc"
