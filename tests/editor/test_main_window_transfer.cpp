// The main window's File and Pager menus: table files and pager transfers end to end through
// the window, with a fake pager link.
#include <QtTest>

#include <QAccessible>

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "../transfer/fake_pager_link.h"
#include "editor/main_window.h"
#include "image/defaults.h"
#include "support/program_state.h"
#include "support/recording_messages.h"
#include "support/simulator_window.h"
#include "editor/dialogs/transfer_dialog.h"
#include "transfer/prompt_conversion.h"
#include "transfer/table_file.h"

using namespace zr730;
using namespace zr730::testing;

namespace {

struct Window {
    // prepare runs before start-up, with the program folder already made.
    explicit Window(const std::function<void(const QString &)> &prepare = {})
        : state(messages, &dialogs), link(state)
    {
        state.application_folder = dir.path();
        if (prepare) prepare(dir.path());
        window = std::make_unique<MainWindow>(state);
        window->show();
        window->startUp();
        window->setPagerLink(&link);
        startupMessages = messages.texts();
        messages.clear();
    }
    ~Window()
    {
        window->setPagerLink(nullptr);
        window.reset();
    }
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    RecordingMessages messages;
    ScriptedFileDialogs dialogs;
    ProgramState state;
    FakePagerLink link;
    std::unique_ptr<MainWindow> window;
    QStringList startupMessages;
};


void setLanguage(PagerImage &image, int l)
{
    image[0x03E] = std::uint8_t((image[0x03E] & 0xF0) | l);
    image[kCharacterSetAddress] = std::uint8_t((image[kCharacterSetAddress] & 0xF0) | l);
}


} // namespace

class TestMainWindowTransfer : public QObject {
    Q_OBJECT
private slots:
    void openingATableWithFirstFrequencyDigit2KeepsTheBand();
    void savedTableReopensWithTheSameBytesBandAndFrequency();
    void titleNamesTheTableFile();
    void startupOpensDefaultTblFromTheProgramFolder();
    void startupWithAnInvalidDefaultTblKeepsTheFactoryDefaults();
    void writeConvertsPromptsForThePagerAndBack();
    void writeInModifyModeIsRefusedAndLeavesThePromptsAsTheyWere();
    void rejectedFrequencyDropsThePagerCommand();
    void readSelectsTheBandOfThePager();
    void readOfAnUnlistedFrequencyDigitKeepsTheBand();
    void onlyOpeningATableShowsFrequencyModification();
    void aSecondSpaceWhileAWriteIsPreparedIsIgnored();
    void writeModeChosenWithoutTheMouseLocksTheEditors();
    void readOutsAndTransferTextsAreAnnouncedAsShown();
    void seriesProgrammingFromThePagerMenuShowsTheNextCapcodes();
    void aTextSetByAScreenReaderDuringATransferIsNotLeftOnShow_data();
    void aTextSetByAScreenReaderDuringATransferIsNotLeftOnShow();
};

void TestMainWindowTransfer::openingATableWithFirstFrequencyDigit2KeepsTheBand()
{
    Window w;
    w.window->cboDft->setCurrentIndex(1); // 380-499MHz
    const int mutl = w.state.MUTL;
    PagerImage image = w.state.image;
    image[0x390] = 2;
    image[0x3F8] = 0xFF;
    testing::write_table_file(w.path("two.tbl"), image);

    w.dialogs.openAnswers.enqueue(w.path("two.tbl"));
    w.window->openTableFile();
    QCOMPARE(w.window->cboDft->currentIndex(), 1);
    QCOMPARE(w.state.MUTL, mutl);
    QCOMPARE(int(w.state.image[0x390]), 2);
    QVERIFY(w.messages.shown.isEmpty());
}

void TestMainWindowTransfer::savedTableReopensWithTheSameBytesBandAndFrequency()
{
    Window w;
    w.window->cboDft->setCurrentIndex(1); // 380-499MHz with its defaults
    const PagerImage saved = w.state.image;
    const QString frequency = w.window->txtFreq->text();
    w.dialogs.saveAnswers.enqueue(w.path("band1.tbl"));
    w.window->saveTableFileAs();
    QVERIFY(QFile::exists(w.path("band1.tbl")));

    w.window->cboDft->setCurrentIndex(0); // 929-932MHz
    QVERIFY(w.window->txtFreq->text() != frequency);
    w.dialogs.openAnswers.enqueue(w.path("band1.tbl"));
    w.window->openTableFile();
    QCOMPARE(w.window->cboDft->currentIndex(), 1);
    QCOMPARE(w.state.MUTL, 3);
    QCOMPARE(w.window->txtFreq->text(), frequency);
    QVERIFY(w.state.image == saved);
    QVERIFY(w.messages.shown.isEmpty());
}

void TestMainWindowTransfer::titleNamesTheTableFile()
{
    Window w;
    const QString base = w.window->windowTitle();
    QVERIFY(!base.contains(QLatin1Char('[')));
    w.dialogs.saveAnswers.enqueue(w.path("one.tbl"));
    w.window->saveTableFileAs();
    QCOMPARE(w.window->windowTitle(), base + QStringLiteral(" - [") + w.path("one.tbl") + QStringLiteral("]"));

    w.dialogs.openAnswers.enqueue(w.path("one.tbl"));
    w.window->openTableFile();
    w.state.current_table_path = w.path("two.tbl");
    w.window->saveTableFile(); // Save: no dialog, no question
    QCOMPARE(w.window->windowTitle(), base + QStringLiteral(" - [") + w.path("two.tbl") + QStringLiteral("]"));
    QVERIFY(QFile::exists(w.path("two.tbl")));
    QVERIFY(w.messages.shown.isEmpty());
}

void TestMainWindowTransfer::startupOpensDefaultTblFromTheProgramFolder()
{
    PagerImage image = default_image();
    image[0x390] = 9; // 929-932MHz
    image[0x3FF] = 0x42;
    Window w([&](const QString &folder) { testing::write_table_file(folder + QStringLiteral("/default.tbl"), image); });
    QVERIFY(!w.startupMessages.contains(QStringLiteral("This file is not exit!")));
    QCOMPARE(int(w.state.image[0x3FF]), 0x42);
    QCOMPARE(w.window->cboDft->currentIndex(), 0);
    QCOMPARE(w.state.MUTL, 5);
    QCOMPARE(w.state.current_table_path, w.path("default.tbl"));
    QVERIFY(w.window->windowTitle().endsWith(QStringLiteral(" - [") + w.path("default.tbl") + QStringLiteral("]")));
    QVERIFY(!w.state.use_current_path);
}

void TestMainWindowTransfer::startupWithAnInvalidDefaultTblKeepsTheFactoryDefaults()
{
    Window w([](const QString &folder) {
        QFile f(folder + QStringLiteral("/default.tbl"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1024, 'x'));
    });
    QVERIFY(w.startupMessages.contains(QStringLiteral("The [") + w.path("default.tbl")
                                       + QStringLiteral("] is not correct format, the file will discard !")));
    QCOMPARE(w.window->cboDft->currentIndex(), 2);
    QCOMPARE(int(w.state.image[0x3E1]), int('Z'));
}

void TestMainWindowTransfer::writeConvertsPromptsForThePagerAndBack()
{
    Window w;
    PagerImage &image = w.state.image;
    setLanguage(image, 8); // German
    const int record = prompt_address(4);
    image[record] = 0x40;
    image[record + 2] = 228; // ä
    image[0x3E0] = 0;
    w.link.pager.fill(0);
    for (int i = 0; i < 14; ++i) w.link.pager[std::size_t(0x3E1 + i)] = std::uint8_t("ZR730K52V6.10 "[i]);
    w.window->WriteOpt->setChecked(true);

    w.window->writePager();
    QCOMPARE(w.messages.texts(), QStringList{"Verify Success!"});
    QCOMPARE(int(w.link.pager[0x3E0]), 1);
    QCOMPARE(int(w.link.pager[std::size_t(record)]), 0x40);
    QCOMPARE(int(w.link.pager[std::size_t(record + 2)]), 123);
    QCOMPARE(int(image[record]), 0x40);
    QCOMPARE(int(image[record + 2]), 228);
    QVERIFY(!w.window->findChild<TransferDialog *>()); // the dialog is gone
}

void TestMainWindowTransfer::writeInModifyModeIsRefusedAndLeavesThePromptsAsTheyWere()
{
    Window w;
    setLanguage(w.state.image, 15);
    w.state.image[prompt_address(0) + 2] = 196; // Ä
    const PagerImage before = w.state.image;
    w.window->ModifyOpt->setChecked(true);
    w.window->writePager();
    QCOMPARE(w.messages.texts(), QStringList{"Modify Mode can not write! Please check!"});
    QVERIFY(w.link.calls.isEmpty());
    QVERIFY(w.state.image == before);
}

void TestMainWindowTransfer::rejectedFrequencyDropsThePagerCommand()
{
    Window w;
    w.state.frequency_rejected = true;
    w.window->verifyPager();
    QVERIFY(w.link.calls.isEmpty());
    QVERIFY(!w.state.frequency_rejected);
    QVERIFY(w.messages.shown.isEmpty());
}

void TestMainWindowTransfer::readSelectsTheBandOfThePager()
{
    Window w;
    PagerImage pager = default_image();
    pager[0x390] = 9;
    pager[0x391] = 3;
    pager[0x3F8] = 0xFF;
    w.link.pager = pager.bytes();
    w.window->readPager();
    QCOMPARE(w.messages.texts(), QStringList{"Read success!"});
    QVERIFY(w.state.image == pager);
    QCOMPARE(w.window->cboDft->currentIndex(), 0);
    QCOMPARE(w.state.MUTL, 5);
}

void TestMainWindowTransfer::onlyOpeningATableShowsFrequencyModification()
{
    Window w;
    QCheckBox *freqMod = w.window->chkCtl[4];
    freqMod->hide(); // as after choosing "Auto" spacing
    w.link.pager = w.state.image.bytes();
    w.window->readPager();
    QVERIFY(freqMod->isHidden());
    testing::write_table_file(w.path("t.tbl"), w.state.image);
    w.dialogs.openAnswers.enqueue(w.path("t.tbl"));
    w.window->openTableFile();
    QVERIFY(!freqMod->isHidden());
}

void TestMainWindowTransfer::aSecondSpaceWhileAWriteIsPreparedIsIgnored()
{
    Window w;
    w.window->WriteOpt->click();
    for (int k = 0; k < 2; ++k)
        QCoreApplication::postEvent(w.window->picTabBack, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " "));
    QCoreApplication::processEvents();
    QCOMPARE(w.link.writes, 1);
    QCOMPARE(w.messages.texts(), QStringList{"Verify Success!"});
}

void TestMainWindowTransfer::writeModeChosenWithoutTheMouseLocksTheEditors()
{
    Window w;
    w.window->WriteOpt->setChecked(true); // as a screen reader's toggle action does
    QVERIFY(!w.window->txtAddr[1]->isEnabled());
    w.window->ModifyOpt->setChecked(true);
    QVERIFY(w.window->txtAddr[1]->isEnabled());
}

void TestMainWindowTransfer::readOutsAndTransferTextsAreAnnouncedAsShown()
{
    Window w;
    QCOMPARE(w.window->lblPLLR->accessibleName(), QString("R: 2801"));
    QCOMPARE(w.window->lblPLLN->accessibleName(), QString("N: CDA0"));
    QCOMPARE(w.window->lblMUTL->accessibleName(), QString("MUTL: 2"));
    QStringList announced;
    auto *watch = new QTimer(w.window.get());
    QObject::connect(watch, &QTimer::timeout, watch, [&] {
        if (auto *d = w.window->findChild<TransferDialog *>(); d && !announced.contains(d->Label1->accessibleName()))
            announced << d->windowTitle() + "|" + d->Label1->accessibleName();
    });
    watch->start(0);
    w.link.pager = w.state.image.bytes();
    w.window->readPager();
    QVERIFY2(announced.contains("Pager Program|Reading Now......."), qPrintable(announced.join(", ")));
}

void TestMainWindowTransfer::readOfAnUnlistedFrequencyDigitKeepsTheBand()
{
    Window w;
    w.window->cboDft->setCurrentIndex(1);
    const int mutl = w.state.MUTL;
    PagerImage pager = w.state.image;
    pager[0x390] = 2;
    pager[0x3F8] = 0x00;
    w.link.pager = pager.bytes();
    w.window->readPager();
    QCOMPARE(w.messages.texts(), QStringList{"Read success!"});
    QCOMPARE(w.window->cboDft->currentIndex(), 1);
    QCOMPARE(w.state.MUTL, mutl);
    QCOMPARE(int(w.state.image[0x390]), 2);
}

void TestMainWindowTransfer::seriesProgrammingFromThePagerMenuShowsTheNextCapcodes()
{
    Window w;
    PagerImage &image = w.state.image;
    image[0x0ED] = 0x01;
    image[0x360] = 0x80;
    image[0x361] = 0x03;
    image[0x362] = 0xE8; // 1000
    w.window->init_ctl();
    w.link.pager.fill(0);
    for (int i = 0; i < 14; ++i) w.link.pager[std::size_t(0x3E1 + i)] = std::uint8_t("ZR730K52V6.10 "[i]);
    w.state.auto_increase_1st = true;
    w.window->WriteOpt->setChecked(true);

    int presses = 0;
    drive_series(*w.window, 3, &presses);
    w.window->writePager();
    QCOMPARE(presses, 3);
    QCOMPARE(w.link.writes, 3);
    QCOMPARE(w.window->txtAddr[0]->text(), QStringLiteral("0001003"));
    QCOMPARE(int(image[0x360]), 0x80);
    QCOMPARE(int(image[0x361]), 0x03);
    QCOMPARE(int(image[0x362]), 0xEB);
    // The last pager received 1002.
    QCOMPARE(int(w.link.pager[0x362]), 0xEA);
}

QTEST_MAIN(TestMainWindowTransfer)
void TestMainWindowTransfer::aTextSetByAScreenReaderDuringATransferIsNotLeftOnShow_data()
{
    QTest::addColumn<int>("mode"); // 0 Read (failing), 2 Verify
    QTest::newRow("verify") << 2;
    QTest::newRow("read that fails") << 0;
}

void TestMainWindowTransfer::aTextSetByAScreenReaderDuringATransferIsNotLeftOnShow()
{
    QFETCH(int, mode);
    Window w;
    w.link.pager = w.state.image.bytes();
    if (mode == 0) w.link.failReadStartingAt = 0;
    const PagerImage before = w.state.image;
    const QString shown = w.window->txtAddr[1]->text();
    QLineEdit *box = w.window->txtAddr[1];
    // Mid-transfer, a screen reader puts a text into the (disabled) capcode box.
    w.link.statusProbe = [box] {
        if (QAccessibleInterface *a = QAccessible::queryAccessibleInterface(box)) a->setText(QAccessible::Value, "1111111");
        return QString();
    };
    if (mode == 0)
        w.window->readPager();
    else
        w.window->verifyPager();
    QVERIFY(!w.link.statusDuringRead.isEmpty()); // the screen reader came during the transfer
    QVERIFY(w.state.image == before);
    QCOMPARE(box->text(), shown);
}

#include "test_main_window_transfer.moc"
