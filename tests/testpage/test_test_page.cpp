// The test page: the generator's commands, and whole runs from the main window through the
// real instrument layer to the GPIB-controller simulator.
#include <QtTest>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTemporaryDir>

#include "image/capcodes.h"
#include "support/gpib_simulator.h"
#include "support/started_window.h"
#include "testpage/test_page.h"

using namespace zr730;
using namespace zr730::testing;

namespace {

// A started window whose "gpib0" is the simulator's controller, with the pause recorded.
struct PagingWindow {
    explicit PagingWindow(GpibConfig gpib) : w(settingsWith(gpib))
    {
        w.window->setTestPagePause([this](int ms) { pauses << ms; });
    }
    static InstallationSettings settingsWith(GpibConfig gpib)
    {
        InstallationSettings s;
        s.gpib = std::move(gpib);
        return s;
    }
    void enable(std::initializer_list<int> capcodes)
    {
        for (int k = 1; k <= 6; ++k) w.window->chkCtl[9 + k]->setChecked(std::find(capcodes.begin(), capcodes.end(), k) != capcodes.end());
    }
    QStringList send()
    {
        w.messages.clear();
        w.window->Command1->click();
        return w.messages.texts();
    }
    StartedWindow w;
    QList<int> pauses;
};

GpibConfig lan(int port) { return {GpibConfig::Kind::Lan, "127.0.0.1", port, {}}; }

QStringList logged(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

class TestTestPage : public QObject {
    Q_OBJECT
private slots:
    void commandsOfAPage_data();
    void commandsOfAPage();
    void controllerDataIsEscaped();
    void allPagesTheEnabledCapcodesWithPausesBetween();
    void failureStopsTheRun();
    void oneWithCapcode1DisabledSendsNothing();
    void unreachableOrSilentGeneratorFailsInBoundedTime_data();
    void unreachableOrSilentGeneratorFailsInBoundedTime();
    void usbControllerOverASerialDevice();
    void nothingChangesARunOnceItStarted();

private:
    QTemporaryDir m_dir;
};

void TestTestPage::commandsOfAPage_data()
{
    QTest::addColumn<double>("frequency"); // the frequency box, units of 10 Hz
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("polarity");
    QTest::addColumn<QString>("expected");
    QTest::newRow("worked example") << 15300000.0 << 2 << 0
        << "FREQ:CW 153000000HZ|POW:AMPL -60DBM;:OUTP:STAT ON|PAG:SEL POCS|DM:FORM FSK2;DEV 4.5KHZ;STAT ON|"
           "DM:POL NORM|PAG:POCS:RATE 1200|PAG:POCS:TYPE ALPH|PAG:POCS:MESS:DEF 'CAP1:1000000'|"
           "PAG:POCS:MESS:LENG 12|PAG:POCS:CODE 1000000;FUNC 0|TRIG:COUNT 1|INIT:IMM|";
    QTest::newRow("band 0, 2400 bps, inverted") << 93101250.0 << 0 << 1
        << "FREQ:CW 931012500HZ|POW:AMPL -60DBM;:OUTP:STAT ON|PAG:SEL POCS|DM:FORM FSK2;DEV 4.5KHZ;STAT ON|"
           "DM:POL INV|PAG:POCS:RATE 2400|PAG:POCS:TYPE ALPH|PAG:POCS:MESS:DEF 'CAP1:1000000'|"
           "PAG:POCS:MESS:LENG 12|PAG:POCS:CODE 1000000;FUNC 0|TRIG:COUNT 1|INIT:IMM|";
    QTest::newRow("no rate selected") << 15300000.0 << -1 << 0 << "";
}

void TestTestPage::commandsOfAPage()
{
    QFETCH(double, frequency);
    QFETCH(int, rate);
    QFETCH(int, polarity);
    QFETCH(QString, expected);
    const TestPage page{frequency_text(frequency), "1000000", rate_text(rate), test_message(1, "1000000"), "ALPH",
                        polarity_text(polarity)};
    QString all;
    for (const std::string &c : test_page_commands(page)) {
        QVERIFY(c.back() == '\n');
        all += QString::fromStdString(c.substr(0, c.size() - 1)) + '|';
    }
    if (expected.isEmpty())
        QVERIFY(all.contains("PAG:POCS:RATE 1200|"));
    else
        QCOMPARE(all, expected);
}

void TestTestPage::controllerDataIsEscaped()
{
    QCOMPARE(QByteArray::fromStdString(plus_plus_escape("A+\r\n\x1b;", 6)), QByteArray("A\x1b+\x1b\r\x1b\n\x1b\x1b;"));
    QCOMPARE(gpib_primary_address("gpib0,30"), 30);
    QCOMPARE(gpib_primary_address("gpib0,31"), -1);
    QCOMPARE(gpib_primary_address("gpib1,3"), -1);
}

void TestTestPage::allPagesTheEnabledCapcodesWithPausesBetween()
{
    const QString log = m_dir.filePath("all.log");
    GpibSimulator sim({"--port", "0", "--log", log});
    QVERIFY(sim.start());
    PagingWindow p(lan(sim.port()));
    p.enable({2, 5});
    p.w.window->coNum->setCurrentIndex(1);
    QCOMPARE(p.send(), QStringList{"Transmit Success !"});
    QCOMPARE(p.pauses, QList<int>{3000}); // between #2 and #5, none after #5
    const QStringList sent = logged(log);
    QCOMPARE(sent.size(), 24);
    QCOMPARE(sent[7], QString("19 PAG:POCS:MESS:DEF 'CAP2:%1'").arg(p.w.window->txtAddr[1]->text()));
    QCOMPARE(sent[19], QString("19 PAG:POCS:MESS:DEF 'CAP5:%1'").arg(p.w.window->txtAddr[4]->text()));
    QVERIFY(p.w.window->Command1->isEnabled());
}

void TestTestPage::failureStopsTheRun()
{
    const QString log = m_dir.filePath("stop.log");
    GpibSimulator sim({"--port", "0", "--log", log, "--fault", "refuse-after=1"});
    QVERIFY(sim.start());
    PagingWindow p(lan(sim.port()));
    p.enable({1, 2, 3});
    p.w.window->coNum->setCurrentIndex(1);
    QCOMPARE(p.send(), QStringList{"Capcode2Transmit Error!"});
    QCOMPARE(logged(log).size(), 12); // capcode #1 only
    QCOMPARE(p.pauses.size(), 1);
}

void TestTestPage::oneWithCapcode1DisabledSendsNothing()
{
    const QString log = m_dir.filePath("none.log");
    GpibSimulator sim({"--port", "0", "--log", log});
    QVERIFY(sim.start());
    PagingWindow p(lan(sim.port()));
    p.enable({2});
    QCOMPARE(p.send(), QStringList{"Transmit Success !"});
    QVERIFY(logged(log).isEmpty());
}

void TestTestPage::unreachableOrSilentGeneratorFailsInBoundedTime_data()
{
    QTest::addColumn<QStringList>("simulator"); // empty: nothing listens on the port
    QTest::addColumn<QString>("address");
    QTest::newRow("controller down") << QStringList() << "19";
    QTest::newRow("connection refused") << QStringList{"--fault", "refuse"} << "19";
    QTest::newRow("controller stalls") << QStringList{"--fault", "stall"} << "19";
    QTest::newRow("no listener at the address") << QStringList() << "20";
    QTest::newRow("address out of range") << QStringList() << "31";
    QTest::newRow("address not a number") << QStringList() << "1a";
}

void TestTestPage::unreachableOrSilentGeneratorFailsInBoundedTime()
{
    QFETCH(QStringList, simulator);
    QFETCH(QString, address);
    int port = 0;
    GpibSimulator sim(QStringList{"--port", "0"} + simulator);
    if (simulator.isEmpty() && QTest::currentDataTag() == QString("controller down")) {
        QTcpServer probe; // a port nobody listens on any more
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    } else {
        QVERIFY(sim.start());
        port = sim.port();
    }
    PagingWindow p(lan(port));
    p.w.window->txtGPIB->setText(address);
    QElapsedTimer t;
    t.start();
    QCOMPARE(p.send(), QStringList{"Capcode1Transmit Error!"});
    QVERIFY2(t.elapsed() < 7000, qPrintable(QString::number(t.elapsed())));
    QVERIFY(p.w.window->Command1->isEnabled());
}

void TestTestPage::usbControllerOverASerialDevice()
{
    const QString log = m_dir.filePath("usb.log"), link = m_dir.filePath("ttyGPIB");
    GpibSimulator sim({"--serial", "--link", link, "--log", log});
    QVERIFY(sim.start());
    PagingWindow p({GpibConfig::Kind::Usb, {}, 1234, link.toStdString()});
    QCOMPARE(p.send(), QStringList{"Transmit Success !"});
    QCOMPARE(logged(log).value(0), QString("19 FREQ:CW 153000000HZ"));
}

void TestTestPage::nothingChangesARunOnceItStarted()
{
    const QString log = m_dir.filePath("held.log"), other = m_dir.filePath("other.tbl");
    GpibSimulator sim({"--port", "0", "--log", log});
    QVERIFY(sim.start());
    PagingWindow p(lan(sim.port()));
    MainWindow &window = *p.w.window;
    PagerImage table = p.w.state.image;
    capcode_set(table, 1, 7654321);
    QFile f(other);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char *>(table.bytes().data()), kImageSize);
    f.close();
    ScriptedFileDialogs dialogs;
    dialogs.openAnswers << other;
    p.w.state.files = &dialogs;
    p.enable({1, 2});
    window.coNum->setCurrentIndex(1);
    window.WriteOpt->setChecked(true); // its locks must come back as they were
    const QString capcode2 = window.txtAddr[1]->text();
    auto enabledStates = [&window] {
        QList<bool> states;
        for (const QObject *o : window.findChildren<QObject *>())
            if (const auto *w = qobject_cast<const QWidget *>(o)) states << w->isEnabled();
            else if (const auto *a = qobject_cast<const QAction *>(o)) states << a->isEnabled();
        return states;
    };
    window.showBoardState(true);
    const QList<bool> before = enabledStates();

    // Between the pages: File ▸ Open, the capcode box of #2 and the enable box of #3 through
    // the accessibility interface, and the board watch finding the board gone and back.
    p.w.window->setTestPagePause([&](int) {
        QAccessibleInterface *file = QAccessible::queryAccessibleInterface(window.findChild<QMenu *>("mnuFile"));
        for (int i = 0; i < file->childCount(); ++i)
            if (file->child(i)->text(QAccessible::Name) == "Open")
                file->child(i)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QAccessible::queryAccessibleInterface(window.txtAddr[1])->setText(QAccessible::Value, "1111111");
        QAccessible::queryAccessibleInterface(window.chkCtl[12])->actionInterface()->doAction(
            QAccessibleActionInterface::toggleAction());
        window.showBoardState(false);
        window.showBoardState(true);
    });
    QCOMPARE(p.send(), QStringList{"Transmit Success !"});
    const QStringList sent = logged(log);
    QCOMPARE(sent.size(), 24); // #1 and #2, as when the run started
    QCOMPARE(sent[21], QString("19 PAG:POCS:CODE %1;FUNC 0").arg(capcode2));
    QCOMPARE(dialogs.openAnswers.size(), 1); // no file was chosen
    QCOMPARE(capcode_get(p.w.state.image, 1), capcode2.toUInt());
    QVERIFY(!window.chkCtl[12]->isChecked());
    QCOMPARE(window.txtAddr[1]->text(), capcode2);
    QCOMPARE(enabledStates(), before);
}

QTEST_MAIN(TestTestPage)
#include "test_test_page.moc"
