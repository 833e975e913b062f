// Read, write and verify through the transfer dialog against a fake pager link.
#include <QtTest>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "fake_pager_link.h"
#include "image/defaults.h"
#include "support/program_state.h"
#include "support/recording_messages.h"
#include "support/texts.h"
#include "editor/dialogs/transfer_dialog.h"
#include "transfer/prompt_conversion.h"
#include "transfer/transfer_procedures.h"

using namespace zr730;
using namespace zr730::testing;

namespace {

// The main window as the dialog sees it: capcode boxes, band list position, mode.
class FakeHost : public TransferHost {
public:
    explicit FakeHost(ProgramState &state) : m_state(state) { read_capcode(); }
    void init_ctl() override
    {
        ++initCalls;
        read_capcode();
    }
    void read_capcode() override
    {
        ++readCapcodeCalls;
        for (int i = 0; i < 6; ++i) boxes[i] = QStringLiteral("%1").arg(capcode_of(m_state.image, i), 7, 10, QLatin1Char('0'));
    }
    void select_band_from_image() override { ++bandSelections; }
    int band_position() const override { return band; }
    QString capcode_text(int index) const override { return boxes[index]; }
    void set_capcode_text(int index, const QString &text) override
    {
        boxes[index] = text;
        typed << text;
    }
    bool modify_mode() const override { return modify; }

    int initCalls = 0, readCapcodeCalls = 0, bandSelections = 0;
    int band = 2;
    bool modify = false;
    QString boxes[6];
    QStringList typed;

private:
    ProgramState &m_state;
};

void setCapcode(PagerImage &image, int index, int capcode, bool enabled)
{
    const int a = 0x360 + 3 * index;
    image[a] = std::uint8_t((enabled ? 0x80 : 0) | (capcode >> 16));
    image[a + 1] = std::uint8_t(capcode >> 8);
    image[a + 2] = std::uint8_t(capcode);
}

void putText(ImageBytes &bytes, int address, const QByteArray &text)
{
    for (int i = 0; i < text.size(); ++i) bytes[std::size_t(address + i)] = std::uint8_t(text[i]);
}

const QString kVerifySuccess = QStringLiteral("Verify Success!");

} // namespace

class TestTransferDialog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void writeLandsInThePagerWithTheWriteMarkerAndIsVerified();
    void writtenPromptsAreInPagerCodesAndComeBackInPcCodes();
    void gpBandAsksBeforeOverwritingANonGpPagerAndNoWritesNothing();
    void otherBandAsksBeforeOverwritingAGpPagerAndYesWrites();
    void gpBandOnAGpPagerAsksNothing();
    void failedRohsReadAbortsTheWriteBeforeAnythingIsSent();
    void failedWriteSkipsTheVerify();
    void capcodesWithoutFunctionBitsAreDisabledBeforeAWrite();
    void modifyModeRefusesToWrite();
    void verifyReportsSuccessAndLeavesTheFlag();
    void verifyReportsOneMessageListingTheDifferingFields();
    void verifyShowsItsStatusInThePurpleBar();
    void readReplacesTheImageConvertsPromptsAndSelectsTheBand();
    void failedReadLeavesTheImageUnchanged();
    void foreignPagerIdentityIsShownAndTheImageStays();
    void erasedIdentityShowsItsBytesAfterItIs();
    void identityStartingWithAControlByteShowsEmptyParts();
    void seriesProgrammingIncrementsBothCapcodesBetweenPagers();
    void failedVerifyInASeriesLeavesTheCapcodes();
    void capcodeAtTheLimitIsRefusedAndTheOtherStillIncrements();
    void capcodeIncrementTypesPlainDigitsAndKeepsTheEnableBit();
    void progressPositionsOutsideTheRangeAreClamped();
    void controlsCarryTheirNamesCaptionsAndAccessibleNames();
    void modalDialogClosesByItselfWhenNoSeriesIsAsked();
    void modalSeriesDialogIsDrivenByItsButtons();
    void workWaitsWhileTheLinkIsBusy();

private:
    std::unique_ptr<RecordingMessages> m_messages;
    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<FakePagerLink> m_link;
    std::unique_ptr<FakeHost> m_host;

    std::unique_ptr<TransferDialog> dialog()
    {
        return std::make_unique<TransferDialog>(*m_state, m_link.get(), *m_host);
    }
    std::unique_ptr<TransferDialog> run(int mode)
    {
        m_state->transfer_mode = mode;
        auto d = dialog();
        d->startTransfer();
        return d;
    }
};

void TestTransferDialog::init()
{
    m_messages = std::make_unique<RecordingMessages>();
    m_state = std::make_unique<ProgramState>(*m_messages);
    m_state->image = default_image();
    PagerImage &image = m_state->image;
    image[0x3E0] = 0; // no write marker yet
    // Capcodes #1 … #4 in use with function bit A enabled.
    image[0x0ED] = 0x01;
    image[0x38C] = image[0x38D] = image[0x38E] = 0x01;
    setCapcode(image, 0, 1000, true);
    setCapcode(image, 1, 2000, true);
    m_link = std::make_unique<FakePagerLink>(*m_state);
    m_link->pager.fill(0x00);
    putText(m_link->pager, 0x3E1, "ZR730K52V6.10 ");
    m_host = std::make_unique<FakeHost>(*m_state);
}

void TestTransferDialog::cleanup()
{
    m_host.reset();
    m_link.reset();
    m_state.reset();
    m_messages.reset();
}

void TestTransferDialog::writeLandsInThePagerWithTheWriteMarkerAndIsVerified()
{
    auto d = run(1);
    QVERIFY(d->unloaded());
    QCOMPARE(m_link->calls, (QStringList{"read 1016-1016/128", "write 0-1023/128", "read 0-1023/128"}));
    QCOMPARE(int(m_state->image[0x3E0]), 1);
    QVERIFY(m_link->pager == m_state->image.bytes());
    QCOMPARE(m_messages->texts(), QStringList{kVerifySuccess});
    QCOMPARE(m_state->transfer_result, 0);
    QVERIFY(m_host->initCalls >= 1);
}

void TestTransferDialog::writtenPromptsAreInPagerCodesAndComeBackInPcCodes()
{
    PagerImage &image = m_state->image;
    image[kCharacterSetAddress] = 8; // German
    const int record = prompt_address(5);
    image[record] = 0x40; // layout: no leading blanks
    image[record + 2] = 228; // ä

    // The Write command: convert, transfer, convert back.
    prompt_to_pager(image);
    auto d = run(1);
    prompt_to_pc(image);

    QCOMPARE(int(m_link->pager[std::size_t(record)]), 0x40);
    QCOMPARE(int(m_link->pager[std::size_t(record + 2)]), 123);
    QCOMPARE(int(m_link->pager[0x3E0]), 1);
    QCOMPARE(int(image[record]), 0x40);
    QCOMPARE(int(image[record + 2]), 228);
    QCOMPARE(m_messages->texts(), QStringList{kVerifySuccess});
}

void TestTransferDialog::gpBandAsksBeforeOverwritingANonGpPagerAndNoWritesNothing()
{
    m_host->band = 3;
    m_link->pager[0x3F8] = 0x00;
    m_messages->answers.enqueue(MsgAnswer::No);
    auto d = run(1);
    QCOMPARE(m_messages->shown.size(), 1);
    QCOMPARE(m_messages->shown[0].text, QStringLiteral("The Pager is Non GP(RoHS) ! \nAre you sure overwrite it?"));
    QCOMPARE(m_messages->shown[0].icon, MsgIcon::Warning);
    QCOMPARE(m_messages->shown[0].buttons, MsgButtons::YesNo);
    QCOMPARE(m_link->writes, 0);
    QCOMPARE(m_link->calls.size(), 1);
    QCOMPARE(m_state->transfer_result, -1);
    QVERIFY(d->unloaded());
}

void TestTransferDialog::otherBandAsksBeforeOverwritingAGpPagerAndYesWrites()
{
    m_host->band = 1;
    m_link->pager[0x3F8] = 0xAA;
    m_messages->answers.enqueue(MsgAnswer::Yes);
    auto d = run(1);
    QCOMPARE(m_messages->texts(), (QStringList{QStringLiteral("The Pager is GP(RoHS) ! \nAre you sure overwrite it?"), kVerifySuccess}));
    QCOMPARE(m_link->writes, 1);
    QCOMPARE(m_state->transfer_result, 0);
}

void TestTransferDialog::gpBandOnAGpPagerAsksNothing()
{
    m_host->band = 3;
    m_link->pager[0x3F8] = 0xAA;
    m_state->image[0x3F8] = 0xAA;
    auto d = run(1);
    QCOMPARE(m_messages->texts(), QStringList{kVerifySuccess});
    QCOMPARE(m_link->writes, 1);
}

void TestTransferDialog::failedRohsReadAbortsTheWriteBeforeAnythingIsSent()
{
    m_link->failReadStartingAt = 0x3F8;
    const PagerImage before = m_state->image;
    auto d = run(1);
    QCOMPARE(m_link->writes, 0);
    QCOMPARE(m_link->calls, QStringList{"read 1016-1016/128"});
    QCOMPARE(m_messages->texts(), QStringList{"fake read failure"});
    QCOMPARE(m_state->transfer_result, -1);
    QCOMPARE(int(m_state->image[0x3E0]), int(before[0x3E0]));
    QVERIFY(d->unloaded());
}

void TestTransferDialog::failedWriteSkipsTheVerify()
{
    m_link->failWrite = true;
    auto d = run(1);
    QCOMPARE(m_link->calls, (QStringList{"read 1016-1016/128", "write 0-1023/128"}));
    QCOMPARE(m_messages->texts(), QStringList{"fake write failure"});
    QCOMPARE(m_state->transfer_result, -1);
}

void TestTransferDialog::capcodesWithoutFunctionBitsAreDisabledBeforeAWrite()
{
    PagerImage &image = m_state->image;
    image[0x38C] = 0xF0; // capcode #2: priority bits only, no function bit enabled
    image[0x38E] = 0x00; // capcode #4
    setCapcode(image, 3, 4000, true);
    setCapcode(image, 4, 5000, true); // #5 has no function-bit set and is never touched
    auto d = run(1);
    QCOMPARE(int(m_link->pager[0x360] & 0x80), 0x80);
    QCOMPARE(int(m_link->pager[0x363] & 0x80), 0);
    QCOMPARE(int(m_link->pager[0x366] & 0x80), 0x00); // default: capcode #3 not in use
    QCOMPARE(int(m_link->pager[0x369] & 0x80), 0);
    QCOMPARE(int(m_link->pager[0x36C] & 0x80), 0x80);
    QCOMPARE(capcode_of(image, 1), 2000); // only the flag changes
}

void TestTransferDialog::modifyModeRefusesToWrite()
{
    m_host->modify = true;
    auto d = run(1);
    QCOMPARE(m_messages->shown.size(), 1);
    QCOMPARE(m_messages->shown[0].text, QStringLiteral("Modify Mode can not write! Please check!"));
    QCOMPARE(m_messages->shown[0].icon, MsgIcon::Warning);
    QVERIFY(m_link->calls.isEmpty());
    QVERIFY(d->unloaded());
}

void TestTransferDialog::verifyReportsSuccessAndLeavesTheFlag()
{
    m_link->pager = m_state->image.bytes();
    m_state->transfer_result = 0;
    auto d = run(2);
    QCOMPARE(m_messages->texts(), QStringList{kVerifySuccess});
    QCOMPARE(m_messages->shown[0].buttons, MsgButtons::Ok);
    QCOMPARE(m_state->transfer_result, 0);
    QCOMPARE(m_link->calls, QStringList{"read 0-1023/128"});
    QVERIFY(d->unloaded());
}

void TestTransferDialog::verifyReportsOneMessageListingTheDifferingFields()
{
    m_link->pager = m_state->image.bytes();
    m_link->pager[0x010] ^= 0xFF;
    m_link->pager[0x3FF] ^= 0xFF;
    const PagerImage before = m_state->image;
    auto d = run(2);
    QCOMPARE(m_messages->texts(), QStringList{"Verify Error!"});
    // The box's details name both fields, with what was written and what came back.
    const QStringList details = m_messages->shown[0].details.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(details.size(), 2);
    QVERIFY2(details[0].startsWith(QString::fromUtf8("Reserved 0x004–0x02E (")), qPrintable(details[0]));
    QVERIFY2(details[1].startsWith(QString::fromUtf8("Reserved 0x3F9–0x3FF (")), qPrintable(details[1]));
    QVERIFY(details[1].contains(QStringLiteral(", read back ")));
    QCOMPARE(m_state->transfer_result, -1);
    QVERIFY(m_state->image == before);
    QVERIFY(d->lblAuto1->isHidden() && d->lblAuto2->isHidden()); // no series here
}

void TestTransferDialog::verifyShowsItsStatusInThePurpleBar()
{
    m_link->pager = m_state->image.bytes();
    m_state->transfer_mode = 2;
    auto d = dialog();
    TransferDialog *form = d.get();
    m_link->statusProbe = [form] {
        return form->Label1->text() + QLatin1Char('|') + QString::number(form->PB1->maximum()) + QLatin1Char('|')
               + form->PB1->palette().color(QPalette::Highlight).name();
    };
    d->startTransfer();
    QCOMPARE(m_link->statusDuringRead, QStringList{"Verifying Now.....|1007|#800080"});
}

void TestTransferDialog::readReplacesTheImageConvertsPromptsAndSelectsTheBand()
{
    PagerImage pagerImage = default_image();
    pagerImage[kCharacterSetAddress] = 6; // French
    pagerImage[0x390] = 3;
    pagerImage[prompt_address(0)] = 0x40;
    pagerImage[prompt_address(0) + 2] = 123; // é in pager code
    m_link->pager = pagerImage.bytes();

    m_state->transfer_mode = 0;
    auto d = dialog();
    TransferDialog *form = d.get();
    m_link->statusProbe = [form] { return form->Label1->text() + QLatin1Char('|') + form->PB1->palette().color(QPalette::Highlight).name(); };
    d->startTransfer();

    QCOMPARE(m_link->calls, (QStringList{"read 993-1006/128", "read 0-1023/128"}));
    QCOMPARE(m_link->statusDuringRead.last(), QStringLiteral("Reading Now.......|#800080"));
    QCOMPARE(m_messages->texts(), QStringList{"Read success!"});
    QCOMPARE(m_state->transfer_result, 0);
    QCOMPARE(m_host->bandSelections, 1);
    QCOMPARE(int(m_state->image[prompt_address(0)]), 0x40);
    QCOMPARE(int(m_state->image[prompt_address(0) + 2]), 233);
    PagerImage expected = pagerImage;
    prompt_to_pc(expected);
    QVERIFY(m_state->image == expected);
    QVERIFY(d->unloaded());
}

void TestTransferDialog::failedReadLeavesTheImageUnchanged()
{
    m_link->failReadStartingAt = 0;
    const PagerImage before = m_state->image;
    auto d = run(0);
    QVERIFY(m_state->image == before);
    QCOMPARE(m_messages->texts(), QStringList{"fake read failure"});
    QCOMPARE(m_host->bandSelections, 0);
    QCOMPARE(m_state->transfer_result, -1);
    QVERIFY(d->unloaded());

    // A failure on the identity block also changes nothing.
    m_messages->clear();
    m_link->failReadStartingAt = 0x3E1;
    auto d2 = run(0);
    QVERIFY(m_state->image == before);
    QCOMPARE(m_link->calls.last(), QStringLiteral("read 993-1006/128"));
}

void TestTransferDialog::foreignPagerIdentityIsShownAndTheImageStays()
{
    putText(m_link->pager, 0x3E1, "ZR731K52V6.10X");
    const PagerImage before = m_state->image;
    auto d = run(0);
    QCOMPARE(m_messages->shown.size(), 1);
    QCOMPARE(m_messages->shown[0].text,
             QStringLiteral("This pager is not ZR730 !\n\nIt is ZR731 ( PCB K52V, Software 6.10X )"));
    QCOMPARE(m_messages->shown[0].icon, MsgIcon::Warning);
    QCOMPARE(m_state->transfer_result, -1);
    QVERIFY(m_state->image == before);
    QCOMPARE(m_link->calls.size(), 1);
}

void TestTransferDialog::erasedIdentityShowsItsBytesAfterItIs()
{
    for (int a = 0x3E1; a <= 0x3EE; ++a) m_link->pager[std::size_t(a)] = 0xFF;
    auto d = run(0);
    const QString y(QChar(0xFF));
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("This pager is not ZR730 !\n\nIt is ") + y.repeated(5)
                                              + QStringLiteral(" ( PCB ") + y.repeated(4) + QStringLiteral(", Software ")
                                              + y.repeated(5) + QStringLiteral(" )")});
}

void TestTransferDialog::identityStartingWithAControlByteShowsEmptyParts()
{
    m_link->pager[0x3E1] = 0x1F;
    auto d = run(0);
    QCOMPARE(m_messages->texts(), QStringList{"This pager is not ZR730 !\n\nIt is  ( PCB , Software  )"});
}

void TestTransferDialog::seriesProgrammingIncrementsBothCapcodesBetweenPagers()
{
    m_state->auto_increase_1st = true;
    m_state->auto_increase_2nd = true;
    auto d = run(1);
    QVERIFY(!d->unloaded());
    QVERIFY(!d->lblAuto1->isHidden() && !d->lblAuto2->isHidden());
    QVERIFY(d->cmdWrite->isEnabled());
    QVERIFY(d->cmdExit->isEnabled());
    QVERIFY(m_link->calls.isEmpty()); // nothing happens before the first press

    d->cmdWrite->click();
    QCOMPARE(d->lblAuto1->text(), QStringLiteral(" 1st capcode : 0001000"));
    QCOMPARE(d->lblAuto2->text(), QStringLiteral(" 2nd capcode : 0002000"));
    PagerImage first;
    first.bytes() = m_link->pager;
    QCOMPARE(capcode_of(first, 0), 1000);
    QCOMPARE(capcode_of(first, 1), 2000);
    QCOMPARE(capcode_of(m_state->image, 0), 1001);
    QCOMPARE(capcode_of(m_state->image, 1), 2001);
    QCOMPARE(int(m_state->image[0x360] & 0x80), 0x80);
    QCOMPARE(m_host->boxes[0], QStringLiteral("0001001"));
    QVERIFY(d->cmdWrite->isEnabled());
    QCOMPARE(d->Label1->text(), QString());
    QCOMPARE(d->PB1->value(), 0);

    d->cmdWrite->click();
    PagerImage second;
    second.bytes() = m_link->pager;
    QCOMPARE(capcode_of(second, 0), 1001);
    QCOMPARE(capcode_of(second, 1), 2001);
    QCOMPARE(d->lblAuto1->text(), QStringLiteral(" 1st capcode : 0001001"));
    QCOMPARE(m_messages->texts(), (QStringList{kVerifySuccess, kVerifySuccess}));

    d->cmdExit->click();
    QVERIFY(d->unloaded());
}

void TestTransferDialog::failedVerifyInASeriesLeavesTheCapcodes()
{
    m_state->auto_increase_1st = true;
    m_state->auto_increase_2nd = true;
    m_link->corruptOnRead = 0x200;
    auto d = run(1);
    d->cmdWrite->click();
    QCOMPARE(m_messages->texts(), QStringList{"Verify Error!"});
    QCOMPARE(capcode_of(m_state->image, 0), 1000);
    QCOMPARE(capcode_of(m_state->image, 1), 2000);
    QVERIFY(d->cmdWrite->isEnabled()); // back to idle whatever the outcome
}

void TestTransferDialog::capcodeAtTheLimitIsRefusedAndTheOtherStillIncrements()
{
    setCapcode(m_state->image, 0, 2097150, true);
    m_host->read_capcode();
    m_state->auto_increase_1st = true;
    m_state->auto_increase_2nd = true;
    auto d = run(1);
    d->cmdWrite->click();
    QCOMPARE(m_host->boxes[0], QStringLiteral("2097151"));
    QCOMPARE(capcode_of(m_state->image, 0), 2097151);

    m_messages->clear();
    d->cmdWrite->click();
    QCOMPARE(m_messages->texts(), (QStringList{kVerifySuccess, "Capcode 1 > 2097151 so can not be increase!"}));
    QCOMPARE(m_messages->shown[1].icon, MsgIcon::Warning);
    QCOMPARE(capcode_of(m_state->image, 0), 2097151);
    QCOMPARE(capcode_of(m_state->image, 1), 2002);
}

void TestTransferDialog::capcodeIncrementTypesPlainDigitsAndKeepsTheEnableBit()
{
    setCapcode(m_state->image, 1, 65535, false);
    m_host->read_capcode();
    TransferProcedures procedures(*m_state, m_link.get(), *m_host, nullptr);
    procedures.set_capcode(1);
    QCOMPARE(m_host->typed, QStringList{"65536"});
    QCOMPARE(int(m_state->image[0x363]), 0x01);
    QCOMPARE(int(m_state->image[0x364]), 0x00);
    QCOMPARE(int(m_state->image[0x365]), 0x00);
    QCOMPARE(m_host->boxes[1], QStringLiteral("0065536"));

    setCapcode(m_state->image, 1, 2097151, false);
    m_host->read_capcode();
    procedures.set_capcode(1);
    QCOMPARE(m_messages->texts(), QStringList{"Capcode 2 > 2097151 so can not be increase!"});
    QCOMPARE(capcode_of(m_state->image, 1), 2097151);
}

void TestTransferDialog::progressPositionsOutsideTheRangeAreClamped()
{
    auto d = dialog();
    d->setMaximum(1023 - 16);
    d->setPosition(1024);
    QCOMPARE(d->PB1->value(), 1007);
    d->setPosition(512);
    QCOMPARE(d->PB1->value(), 512);
    d->setPosition(-3);
    QCOMPARE(d->PB1->value(), 0);
}

void TestTransferDialog::controlsCarryTheirNamesCaptionsAndAccessibleNames()
{
    auto d = dialog();
    QCOMPARE(d->objectName(), QStringLiteral("Form2"));
    QCOMPARE(d->findChild<QLabel *>("Label2")->text(), QStringLiteral("Pager Program"));
    QCOMPARE(d->findChild<QLabel *>("Label1")->text(), QString());
    QCOMPARE(d->findChild<QLabel *>("lblAuto1")->text(), QStringLiteral(" 1st capcode : "));
    QCOMPARE(d->findChild<QLabel *>("lblAuto2")->text(), QStringLiteral(" 2nd capcode : "));
    QCOMPARE(d->findChild<QPushButton *>("cmdWrite")->text(), QStringLiteral("Write"));
    QCOMPARE(d->findChild<QPushButton *>("cmdExit")->text(), QStringLiteral("Exit"));
    QVERIFY(d->findChild<QProgressBar *>("PB1"));
    for (QWidget *w : d->findChildren<QWidget *>())
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
    QCOMPARE(m_link->progress, static_cast<TransferProgress *>(d.get()));
    d.reset();
    QCOMPARE(m_link->progress, nullptr);
}

void TestTransferDialog::modalDialogClosesByItselfWhenNoSeriesIsAsked()
{
    m_link->pager = m_state->image.bytes();
    m_state->transfer_mode = 2;
    auto d = dialog();
    bool stuck = false;
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, d.get(), [&] { stuck = true; d->done(0); });
    guard.start(5000);
    d->showModal();
    QVERIFY(!stuck);
    QVERIFY(d->unloaded());
    QVERIFY(!d->isVisible());
    QCOMPARE(m_messages->texts(), QStringList{kVerifySuccess});
}

void TestTransferDialog::modalSeriesDialogIsDrivenByItsButtons()
{
    m_state->auto_increase_1st = true;
    m_state->transfer_mode = 1;
    auto d = dialog();
    int presses = 0;
    QTimer driver;
    connect(&driver, &QTimer::timeout, d.get(), [&] {
        if (!d->isVisible() || !d->cmdWrite->isEnabled()) return;
        if (presses < 3) {
            ++presses;
            d->cmdWrite->click();
        } else {
            d->cmdExit->click();
        }
    });
    driver.start(0);
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, d.get(), [&] { d->done(0); });
    guard.start(5000);
    d->showModal();
    driver.stop();
    QVERIFY(guard.isActive());
    QCOMPARE(presses, 3);
    QVERIFY(!d->lblAuto1->isHidden());
    QVERIFY(d->lblAuto2->isHidden()); // only the first capcode is increased
    QCOMPARE(capcode_of(m_state->image, 0), 1003);
    QCOMPARE(capcode_of(m_state->image, 1), 2000);
    QCOMPARE(m_link->writes, 3);
}

void TestTransferDialog::workWaitsWhileTheLinkIsBusy()
{
    // Activation while the board watch probes: the read starts once the probe is over.
    m_link->linkBusy = true;
    m_state->transfer_mode = 0;
    auto d = dialog();
    d->startTransfer();
    QVERIFY(m_link->calls.isEmpty());
    QTest::qWait(120);
    QVERIFY(m_link->calls.isEmpty());
    m_link->linkBusy = false;
    QTRY_VERIFY(d->unloaded());
    QCOMPARE(m_link->calls.first(), QStringLiteral("read 993-1006/128"));

    // A series Write press during a probe is kept, once, until the probe ends.
    m_link->calls.clear();
    m_messages->clear();
    m_state->auto_increase_1st = true;
    auto series = run(1);
    m_link->linkBusy = true;
    series->cmdWrite->click();
    series->cmdWrite->click();
    QTest::qWait(120);
    QVERIFY(m_link->calls.isEmpty());
    m_link->linkBusy = false;
    QTRY_COMPARE(m_messages->texts(), QStringList{kVerifySuccess});
    QTest::qWait(120);
    QCOMPARE(m_link->writes, 1);
    series->cmdExit->click();
}

QTEST_MAIN(TestTransferDialog)
#include "test_transfer_dialog.moc"
