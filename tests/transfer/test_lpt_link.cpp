// The parallel-port link against the simulated board and EEPROM: the bus loops, discovery,
// faults, and the parallel-port edition's Read, Write and Verfy from the main window.
#include <QtTest>

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>

#include "image/defaults.h"
#include "platform/simulated_parport.h"
#include "support/program_state.h"
#include "support/recording_messages.h"
#include "transfer/parallel_port_link.h"

#include "editor/main_window.h"

using namespace zr730;
using namespace zr730::testing;

namespace {

SimulatedParallelPort::Memory blank() { SimulatedParallelPort::Memory m; m.fill(0xFF); return m; }

PagerImage numbered()
{
    PagerImage img = default_image();
    for (int a = 0x10; a < 0x100; ++a) img[a] = std::uint8_t(a * 7);
    return img;
}

// The bus on its own: a board on a simulated port, as the link sees it.
struct Bus {
    explicit Bus(const SimulatedParallelPort::Memory &m = blank(), int base = 888, bool present = true)
        : state(messages), port(m, base, present), lpt(state, port)
    {}
    RecordingMessages messages;
    ProgramState state;
    SimulatedParallelPort port;
    ParallelPortLink lpt;
};

// The parallel-port edition's window over the simulated board kept in a file.
struct LptWindow {
    explicit LptWindow(const QString &pagerFile) : state(messages)
    {
        state.link = LinkSelector::Lpt;
        state.settings.adapterIds.clear();
        state.settings.lptDevice = QString::fromLatin1(kSimulatedLpt);
        state.settings.lptSimulatedPager = pagerFile;
        state.application_folder = dir.path();
        window = std::make_unique<MainWindow>(state);
        window->show();
        window->startUp();
        startup = messages.texts();
        messages.clear();
    }
    SimulatedParallelPort &port() { return *static_cast<SimulatedParallelPort *>(window->portIo()); }
    QTemporaryDir dir;
    RecordingMessages messages;
    ProgramState state;
    std::unique_ptr<MainWindow> window;
    QStringList startup;
};

} // namespace

class TestLptLink : public QObject {
    Q_OBJECT
private slots:
    void deviceBytesAndWordAddresses();
    void fullWriteAndReadUsePagesOf16();
    void writeStartingInsideAPage();
    void boardIsFoundOnItsPortOrReportedOnce();
    void missingAcknowledgeEndsTheWriteWithOneMessage();
    void waitIsLongerThan25Microseconds();
    void portsAreFoundByBaseAddressAndMissingOnesExplained();
    void editionReadsWritesAndVerifiesThePager();
    void failedReadRestoresTheImageAndALaterWriteWorks();

private:
    QTemporaryDir m_dir;
};

void TestLptLink::deviceBytesAndWordAddresses()
{
    QCOMPARE(lpt_device_byte(0x2A3), 0xA4);
    QCOMPARE(lpt_device_byte(0x2A3) + 1, 0xA5);
    QCOMPARE(lpt_word_address(0x2A3), 0xA3);
    QCOMPARE(lpt_device_byte(0x3FF), 0xA6);
}

void TestLptLink::fullWriteAndReadUsePagesOf16()
{
    Bus bus;
    const PagerImage img = numbered();
    QVERIFY(bus.lpt.page_write(img, 0, kImageLastIndex, nullptr));
    QVERIFY(bus.port.memory() == img.bytes());
    QCOMPARE(bus.lpt.pageSleeps(), 63L);        // 64 pages: a stop and a sleep between two
    QCOMPARE(bus.port.pagesWritten(), 64L);

    PagerImage back;
    const long startsBefore = bus.port.starts();
    QVERIFY(bus.lpt.sequential_read(back, 0, kImageLastIndex, nullptr));
    QVERIFY(back == img);
    QCOMPARE(bus.port.starts() - startsBefore, 128L); // each page addressed again: start, repeated start
    QVERIFY(bus.lpt.compare(img, 0, kImageLastIndex, nullptr));
    QCOMPARE(bus.messages.texts(), QStringList{"Verify Success!"});

    // The last byte alone, or the first of a page, is addressed before it is read.
    PagerImage one;
    QVERIFY(bus.lpt.sequential_read(one, 0x20, 0x20, nullptr));
    QVERIFY(bus.lpt.sequential_read(one, 0x1F, 0x30, nullptr));
    QCOMPARE(int(one[0x20]), int(img[0x20]));
    QCOMPARE(int(one[0x30]), int(img[0x30]));
}

void TestLptLink::writeStartingInsideAPage()
{
    Bus bus;
    const PagerImage img = numbered();
    QVERIFY(bus.lpt.page_write(img, 5, 40, nullptr));
    QCOMPARE(bus.port.pagesWritten(), 3L); // 5 … 15, 16 … 31, 32 … 40
    QCOMPARE(int(bus.port.memory()[4]), 0xFF);
    QCOMPARE(int(bus.port.memory()[5]), int(img[5]));
    QCOMPARE(int(bus.port.memory()[40]), int(img[40]));
    QCOMPARE(int(bus.port.memory()[41]), 0xFF);
}

void TestLptLink::boardIsFoundOnItsPortOrReportedOnce()
{
    Bus none(blank(), 888, false);
    QVERIFY(!none.lpt.lpt_probe());
    QCOMPARE(none.messages.texts(), QStringList{"The Programmed Board is not responding!"});
    QCOMPARE(none.messages.shown[0].icon, MsgIcon::Warning);

    Bus second(blank(), 632);
    QVERIFY(second.lpt.lpt_probe());
    QCOMPARE(second.lpt.dataPort(), 632);
    QVERIFY(second.messages.shown.isEmpty());
}

void TestLptLink::missingAcknowledgeEndsTheWriteWithOneMessage()
{
    Bus bus;
    bus.port.setAcknowledgeLimit(100);
    QVERIFY(!bus.lpt.page_write(numbered(), 0, kImageLastIndex, nullptr));
    QCOMPARE(bus.messages.texts(), QStringList{"Write error!"});
    QCOMPARE(bus.state.transfer_result, -1);
    QVERIFY(bus.port.pagesWritten() < 10);
}

void TestLptLink::waitIsLongerThan25Microseconds()
{
    Bus bus;
    for (bool loop : {false, true}) {
        bus.lpt.useLoopDelay(loop);
        if (loop) bus.lpt.calibrate_delay();
        QElapsedTimer t;
        t.start();
        for (int k = 0; k < 400; ++k) bus.lpt.wait_25us();
        const qint64 ns = t.nsecsElapsed();
        QVERIFY2(ns > 400 * 25'000LL * (loop ? 0.5 : 1.0), qPrintable(QString::number(ns)));
    }
}

void TestLptLink::portsAreFoundByBaseAddressAndMissingOnesExplained()
{
    const QString root = m_dir.filePath("parport");
    for (const auto &[name, base] : {std::pair{"parport0", "888\t1912\n"}, std::pair{"parport1", "632\t1656\n"}}) {
        QVERIFY(QDir().mkpath(root + "/" + name));
        QFile f(root + "/" + name + "/base-addr");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(base);
    }
    QCOMPARE(parport_device_for_base(632, root.toStdString()), std::string("/dev/parport1"));
    QCOMPARE(parport_device_for_base(956, root.toStdString()), std::string());

    // No parallel-port driver at all: every line reads high, and the probe says what to load.
    RecordingMessages messages;
    ProgramState state(messages);
    auto io = make_ppdev_port_io({}, m_dir.filePath("no-such-dir").toStdString());
    ParallelPortLink lpt(state, *io);
    QVERIFY(!lpt.lpt_probe());
    QCOMPARE(messages.texts().size(), 1);
    QVERIFY(messages.texts()[0].startsWith("The Programmed Board is not responding!\n\n"));
    QVERIFY(messages.texts()[0].contains("modprobe parport_pc ppdev"));
}

void TestLptLink::editionReadsWritesAndVerifiesThePager()
{
    const QString file = m_dir.filePath("pager.tbl");
    LptWindow w(file);
    QVERIFY(w.startup.isEmpty());
    QCOMPARE(w.window->windowTitle(), QString("Kestrane ZR730K V6.10"));
    QVERIFY(!w.window->statusLabel()->isVisible());
    QVERIFY(w.window->pagerMenu()->isEnabled());

    w.state.image[0x150] = 0x41;
    w.window->WriteOpt->setChecked(true);
    w.window->writePager();
    QCOMPARE(w.messages.texts(), QStringList{"Verify Success!"});
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray(reinterpret_cast<const char *>(w.state.image.bytes().data()), kImageSize));

    w.messages.clear();
    const PagerImage written = w.state.image;
    w.state.image[0x151] ^= 1;
    w.window->verifyPager();
    QCOMPARE(w.messages.texts(), QStringList{"Verify Error!"});
    QVERIFY2(w.messages.shown[0].details.startsWith(QStringLiteral("Prompt 4 (MESSAGE UNLOCK) (0x150")),
             qPrintable(w.messages.shown[0].details));
    w.messages.clear();
    w.window->readPager();
    QCOMPARE(w.messages.texts(), QStringList{"Read success!"});
    QVERIFY(w.state.image == written);
}

void TestLptLink::failedReadRestoresTheImageAndALaterWriteWorks()
{
    const QString file = m_dir.filePath("faulty.tbl");
    LptWindow w(file);
    const PagerImage before = w.state.image;
    w.port().setAcknowledgeLimit(100); // past the identity block (42), at page 20 of the read
    w.window->readPager();
    QCOMPARE(w.messages.texts(), QStringList{"Read error!"});
    QVERIFY(w.state.image == before);

    w.port().setAcknowledgeLimit(-1);
    w.messages.clear();
    w.window->WriteOpt->setChecked(true);
    w.window->writePager();
    QCOMPARE(w.messages.texts(), QStringList{"Verify Success!"});
}

QTEST_MAIN(TestLptLink)
#include "test_lpt_link.moc"
