#include "transfer/transfer_procedures.h"

#include "image/field_catalogue.h"
#include "image/image.h"
#include "support/texts.h"
#include "transfer/link_texts.h"
#include "transfer/ledger_recorder.h"
#include "transfer/parallel_port_link.h"
#include "transfer/prompt_conversion.h"
#include "transfer/table_file.h"

namespace zr730 {

TransferHost::~TransferHost() = default;

namespace {

// Enable-bit byte of the function bits of capcodes #1 … #4 (low 4 bits), and the record each disables.
constexpr int kFunctionEnable[4] = {0x0ED, 0x38C, 0x38D, 0x38E};

// The leading number of a text box, as the boxes show it ("0000012" → 12); 0 when none.
long long leading_number(const QString &text)
{
    const QString t = text.trimmed();
    long long value = 0;
    for (const QChar c : t) {
        if (!c.isDigit()) break;
        value = value * 10 + c.digitValue();
        if (value > 100000000000LL) break; // far beyond any capcode
    }
    return value;
}

} // namespace

void clean_up_capcodes(PagerImage &image)
{
    for (int i = 0; i < 4; ++i)
        if ((image[kFunctionEnable[i]] & 0x0F) == 0) image[kCapcodeRecordBase + 3 * i] &= 0x7F;
}

QString identity_text(const std::vector<std::uint8_t> &buffer)
{
    QString text;
    for (int a = kIdentityFirst; a <= kIdentityLast && a < int(buffer.size()); ++a) {
        const std::uint8_t b = buffer[std::size_t(a)];
        if (b < 32) break;
        text.append(QChar(char16_t(b)));
    }
    return text;
}

QString not_zr730_message(const QString &identity, const char *head)
{
    return QString::fromLatin1(head) + QLatin1Char('\n') + QLatin1Char('\n')
           + QString::fromLatin1(text::kItIs) + identity.mid(0, 5) + QString::fromLatin1(text::kPcb)
           + identity.mid(5, 4) + QString::fromLatin1(text::kSoftware) + identity.mid(9, 5)
           + QString::fromLatin1(text::kIdentityTail);
}

QString verify_details(const PagerImage &written, const std::vector<std::uint8_t> &read, int strt, int stp)
{
    PagerImage expected = written;
    PagerImage actual = written;
    for (int a = strt; a <= stp && a < int(read.size()); ++a) actual[a] = read[std::size_t(a)];
    prompt_to_pc(expected);
    prompt_to_pc(actual);
    return QString::fromStdString(differences_report(field_differences(expected, actual), "expected", "read back"));
}

int capcode_of(const PagerImage &image, int index)
{
    const int a = kCapcodeRecordBase + 3 * index;
    return ((image[a] & 0x7F) << 16) | (image[a + 1] << 8) | image[a + 2];
}

TransferProcedures::TransferProcedures(ProgramState &state, PagerLink *link, TransferHost &host, TransferView *view,
                                       ParallelPortLink *lpt)
    : m_state(state), m_link(link), m_host(host), m_view(view), m_lpt(lpt)
{}

bool TransferProcedures::parallel() const { return m_state.link == LinkSelector::Lpt; }

// The edition's link does the work; on the parallel port every procedure ends with one more
// stop condition, so the bus is released whatever happened.
void TransferProcedures::tbl_writeall(int strt, int stp)
{
    if (!parallel()) return usb_writeall(strt, stp);
    lpt_writeall(strt, stp);
    if (m_lpt) m_lpt->i2c_stop();
}

void TransferProcedures::tbl_readall(int strt, int &stp)
{
    if (!parallel()) return usb_readall(strt, stp);
    lpt_readall(strt, stp);
    if (m_lpt) m_lpt->i2c_stop();
}

void TransferProcedures::tbl_verify(int strt, int stp)
{
    if (!parallel()) return usb_verify(strt, stp);
    lpt_verify(strt, stp);
    if (m_lpt) m_lpt->i2c_stop();
}

bool TransferProcedures::probe_board()
{
    if (!parallel()) return true;
    return m_lpt && m_lpt->lpt_probe();
}

bool TransferProcedures::readRange(int start, int stop)
{
    if (!m_link || !m_link->block_read(start, stop, kTransferBlockSize)
        || m_state.read_buffer.size() <= std::size_t(stop)) {
        m_state.transfer_result = -1;
        return false;
    }
    return true;
}

void TransferProcedures::prepareReadDisplay(int strt, int stp, const char *status)
{
    if (!m_view) return;
    m_view->setMaximum(stp - 16);
    m_view->setPosition(strt);
    m_view->useReadColour();
    m_view->setStatus(QString::fromLatin1(status));
    m_view->letEventsRun();
}

void TransferProcedures::usb_writeall(int strt, int stp)
{
    PagerImage &image = m_state.image;
    clean_up_capcodes(image);
    m_host.init_ctl();

    // The pager's RoHS marker must agree with the selected band, or the user must agree.
    if (!readRange(kRohsMarkerAddress, kRohsMarkerAddress)) return;
    if (!rohsAgreed(m_state.read_buffer[kRohsMarkerAddress])) return;

    image[kWriteMarkerAddress] = 1;
    const bool written = m_link->block_write(image, strt, stp, kTransferBlockSize);
    m_state.transfer_result = written ? 0 : -1;
}

bool TransferProcedures::rohsAgreed(std::uint8_t marker)
{
    const bool pagerIsRohs = marker == kRohsMarker;
    const bool bandIsRohs = m_host.band_position() == kRohsBandPosition;
    if (bandIsRohs == pagerIsRohs) return true;
    const char *question = bandIsRohs ? text::kPagerNonRohs : text::kPagerRohs;
    if (m_state.messages.show(QString::fromLatin1(question), MsgIcon::Warning, MsgButtons::YesNo) == MsgAnswer::Yes)
        return true;
    m_state.transfer_result = -1;
    m_refused = true;
    return false;
}

void TransferProcedures::usb_readall(int strt, int stp)
{
    m_state.transfer_result = 0;
    if (!readRange(kIdentityFirst, kIdentityLast)) return;
    const QString identity = identity_text(m_state.read_buffer);
    if (identity.left(5) != QLatin1String(kTableModel)) {
        m_state.messages.show(not_zr730_message(identity), MsgIcon::Warning);
        m_state.transfer_result = -1;
        return;
    }

    prepareReadDisplay(strt, stp, text::kReadingNow);
    if (!readRange(strt, stp)) return;
    m_state.messages.show(QString::fromLatin1(text::kReadSuccess), MsgIcon::None);

    // Only now, with the whole range arrived, is the image replaced.
    auto &bytes = m_state.image.bytes();
    for (int a = strt; a <= stp && a < kImageSize; ++a) bytes[std::size_t(a)] = m_state.read_buffer[std::size_t(a)];
    prompt_to_pc(m_state.image);
    m_readDone = true;
    m_host.select_band_from_image();
}

void TransferProcedures::usb_verify(int strt, int stp)
{
    prepareReadDisplay(strt, stp, text::kVerifyingNow);
    if (!readRange(strt, stp)) return;
    for (int a = strt; a <= stp; ++a) {
        if (m_state.image[a] != m_state.read_buffer[std::size_t(a)]) {
            m_state.messages.showDetailed(QString::fromLatin1(text::kVerifyError),
                                          verify_details(m_state.image, m_state.read_buffer, strt, stp), MsgIcon::None);
            m_state.transfer_result = -1;
            return;
        }
    }
    m_state.messages.show(QString::fromLatin1(text::kVerifySuccess), MsgIcon::None);
}

// ---- parallel port ------------------------------------------------------------------------

void TransferProcedures::lpt_writeall(int strt, int stp)
{
    m_state.transfer_result = 0; // no failure of an earlier procedure may stop this one
    if (!m_lpt) {
        m_state.transfer_result = -1;
        return;
    }
    PagerImage &image = m_state.image;
    clean_up_capcodes(image);
    m_host.init_ctl();
    const auto marker = m_lpt->lpt_read_byte(kRohsMarkerAddress);
    if (!marker || !rohsAgreed(*marker)) return;
    image[kWriteMarkerAddress] = 1;
    if (m_view) {
        m_view->setMaximum(stp - 16);
        m_view->setPosition(strt);
        m_view->useHighlightColour();
        m_view->setStatus(QString::fromLatin1(text::kWritingNow));
    }
    m_lpt->page_write(image, strt, stp, m_view);
}

void TransferProcedures::lpt_readall(int strt, int stp)
{
    m_state.transfer_result = 0;
    if (!m_lpt) {
        m_state.transfer_result = -1;
        return;
    }
    // The identity block byte by byte; the first failure ends the read with its one message.
    std::vector<std::uint8_t> identity(std::size_t(kIdentityLast) + 1, 0);
    for (int a = kIdentityFirst; a <= kIdentityLast; ++a) {
        const auto b = m_lpt->lpt_read_byte(a);
        if (!b) return;
        identity[std::size_t(a)] = *b;
    }
    const QString id = identity_text(identity);
    if (id.left(5) != QLatin1String(kTableModel)) {
        m_state.messages.show(not_zr730_message(id, text::kNotZr730Dash), MsgIcon::Warning);
        m_state.transfer_result = -1;
        return;
    }

    const PagerImage kept = m_state.image;
    prepareReadDisplay(strt, stp, text::kReadingNow);
    if (!m_lpt->sequential_read(m_state.image, strt, stp, m_view)) {
        m_state.image = kept; // a failed read never leaves a half-read image
        return;
    }
    m_state.messages.show(QString::fromLatin1(text::kReadSuccess), MsgIcon::None);
    const char *problem = nullptr;
    auto differs = [&](int from, int to) {
        for (int a = from; a <= to; ++a)
            if (m_state.image[a] != kept[a]) return true;
        return false;
    };
    if (differs(0x000, 0x003) || differs(0x3F0, 0x3F7))
        problem = text::kPagerDataWrong;
    else if (m_state.image.field_get(0x03C, 2, 1) == 1)
        problem = text::kTwoLineMode;
    if (problem) {
        m_state.messages.show(QString::fromLatin1(problem), MsgIcon::None);
        m_state.image = kept;
        return;
    }
    prompt_to_pc(m_state.image);
    m_readDone = true;
    m_host.select_band_from_image();
}

void TransferProcedures::lpt_verify(int strt, int stp)
{
    m_state.transfer_result = 0;
    if (!m_lpt) {
        m_state.transfer_result = -1;
        return;
    }
    prepareReadDisplay(strt, stp, text::kVerifyingNow);
    m_lpt->compare(m_state.image, strt, stp, m_view);
}

bool TransferProcedures::writeAllowed()
{
    if (!m_host.modify_mode()) return true;
    m_state.messages.show(QString::fromLatin1(text::kModifyModeCannotWrite), MsgIcon::Warning);
    return false;
}

void TransferProcedures::read_pager()
{
    m_readDone = false;
    int stop = kImageLastIndex;
    tbl_readall(0, stop);
    if (m_readDone && m_recorder) m_recorder->afterRead(m_state.image);
}

void TransferProcedures::write_and_verify()
{
    m_state.transfer_result = 0;
    m_refused = false;
    // The ledger holds images as table files do: prompts in PC codes.
    auto asTable = [this] {
        PagerImage image = m_state.image;
        clean_up_capcodes(image);
        prompt_to_pc(image);
        return image;
    };
    if (m_recorder && !m_recorder->beforeWrite(asTable())) {
        m_state.transfer_result = -1;
        return;
    }
    tbl_writeall(0, kImageLastIndex);
    const bool written = m_state.transfer_result == 0;
    if (written) tbl_verify(0, kImageLastIndex);
    if (!m_recorder) return;
    LedgerOutcome outcome = LedgerOutcome::WrittenVerified;
    if (!written)
        outcome = m_refused ? LedgerOutcome::Refused : LedgerOutcome::WriteError;
    else if (m_state.transfer_result != 0)
        outcome = LedgerOutcome::VerifyError;
    m_recorder->afterWrite(asTable(), outcome);
}

void TransferProcedures::write_one_pager()
{
    write_and_verify();
    if (m_state.transfer_result == 0) {
        if (m_state.auto_increase_1st) set_capcode(0);
        if (m_state.auto_increase_2nd) set_capcode(1);
    }
}

void TransferProcedures::set_capcode(int index)
{
    const long long value = leading_number(m_host.capcode_text(index));
    if (value >= kCapcodeMaximum) {
        m_state.messages.show(QString::fromLatin1(text::kCapcodeLimitHead) + QString::number(index + 1)
                                  + QString::fromLatin1(text::kCapcodeLimitTail),
                              MsgIcon::Warning);
        return;
    }
    m_host.set_capcode_text(index, QString::number(value + 1));

    const int c = int(leading_number(m_host.capcode_text(index)));
    PagerImage &image = m_state.image;
    const int a = kCapcodeRecordBase + 3 * index;
    image[a] = std::uint8_t((image[a] & 0x80) | ((c >> 16) & 0xFF));
    image[a + 1] = std::uint8_t((c >> 8) & 0xFF);
    image[a + 2] = std::uint8_t(c & 0xFF);
    m_host.read_capcode();
}

} // namespace zr730
