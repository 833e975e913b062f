#include "transfer/transfer_procedures.h"

#include "image/image.h"
#include "support/texts.h"
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

QString not_zr730_message(const QString &identity)
{
    return QString::fromLatin1(text::kNotZr730) + QLatin1Char('\n') + QLatin1Char('\n')
           + QString::fromLatin1(text::kItIs) + identity.mid(0, 5) + QString::fromLatin1(text::kPcb)
           + identity.mid(5, 4) + QString::fromLatin1(text::kSoftware) + identity.mid(9, 5)
           + QString::fromLatin1(text::kIdentityTail);
}

int capcode_of(const PagerImage &image, int index)
{
    const int a = kCapcodeRecordBase + 3 * index;
    return ((image[a] & 0x7F) << 16) | (image[a + 1] << 8) | image[a + 2];
}

TransferProcedures::TransferProcedures(ProgramState &state, PagerLink *link, TransferHost &host, TransferView *view)
    : m_state(state), m_link(link), m_host(host), m_view(view)
{}

// The build's only link is the serial one; the parallel-port variants join here when built.
void TransferProcedures::tbl_writeall(int strt, int stp) { usb_writeall(strt, stp); }
void TransferProcedures::tbl_readall(int strt, int &stp) { usb_readall(strt, stp); }
void TransferProcedures::tbl_verify(int strt, int stp) { usb_verify(strt, stp); }

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
    const bool pagerIsRohs = m_state.read_buffer[kRohsMarkerAddress] == kRohsMarker;
    const bool bandIsRohs = m_host.band_position() == kRohsBandPosition;
    if (bandIsRohs != pagerIsRohs) {
        const char *question = bandIsRohs ? text::kPagerNonRohs : text::kPagerRohs;
        if (m_state.messages.show(QString::fromLatin1(question), MsgIcon::Warning, MsgButtons::YesNo)
            != MsgAnswer::Yes) {
            m_state.transfer_result = -1;
            return;
        }
    }

    image[kWriteMarkerAddress] = 1;
    const bool written = m_link->block_write(image, strt, stp, kTransferBlockSize);
    m_state.transfer_result = written ? 0 : -1;
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
    m_host.select_band_from_image();
}

void TransferProcedures::usb_verify(int strt, int stp)
{
    prepareReadDisplay(strt, stp, text::kVerifyingNow);
    if (!readRange(strt, stp)) return;
    for (int a = strt; a <= stp; ++a) {
        if (m_state.image[a] != m_state.read_buffer[std::size_t(a)]) {
            m_state.messages.show(QString::fromLatin1(text::kVerifyError), MsgIcon::None);
            m_state.transfer_result = -1;
            return;
        }
    }
    m_state.messages.show(QString::fromLatin1(text::kVerifySuccess), MsgIcon::None);
}

bool TransferProcedures::writeAllowed()
{
    if (!m_host.modify_mode()) return true;
    m_state.messages.show(QString::fromLatin1(text::kModifyModeCannotWrite), MsgIcon::Warning);
    return false;
}

void TransferProcedures::write_one_pager()
{
    m_state.transfer_result = 0;
    tbl_writeall(0, kImageLastIndex);
    if (m_state.transfer_result == 0) tbl_verify(0, kImageLastIndex);
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
