#pragma once
// Read, write and verify of the whole image through a pager link, the checks around them
// (RoHS marker, pager identity) and the capcode increment of series programming.
#include <QString>

#include "support/program_state.h"
#include "support/texts.h"
#include "transfer/pager_link.h"

namespace zr730 {

class ParallelPortLink;
class LedgerRecorder;

// Image addresses the transfer procedures use.
inline constexpr int kWriteMarkerAddress = 0x3E0;
inline constexpr int kIdentityFirst = 0x3E1;
inline constexpr int kIdentityLast = 0x3EE;
inline constexpr int kRohsMarkerAddress = 0x3F8;
inline constexpr std::uint8_t kRohsMarker = 0xAA;
inline constexpr int kTransferBlockSize = 128;
inline constexpr int kCapcodeRecordBase = 0x360;
inline constexpr int kCapcodeMaximum = 2097151;
// Band list position of "130-180MHz-GP(RoHS)".
inline constexpr int kRohsBandPosition = 3;

// What the procedures need from the main window.
class TransferHost {
public:
    virtual ~TransferHost();
    virtual void init_ctl() = 0;
    virtual void read_capcode() = 0;
    // Band list from the image without band defaults, then the redraw with loaded_image_refresh.
    virtual void select_band_from_image() = 0;
    // Position in the band list cboDft (0 "929-932MHz" … 3 "130-180MHz-GP(RoHS)").
    virtual int band_position() const = 0;
    // Text of the capcode box txtAddr(index).
    virtual QString capcode_text(int index) const = 0;
    virtual void set_capcode_text(int index, const QString &text) = 0;
    // The main window's "Modify Mode" option is selected.
    virtual bool modify_mode() const = 0;
};

// The transfer dialog's progress display, with what the read and verify need beyond the link's.
class TransferView : public TransferProgress {
public:
    virtual void useReadColour() = 0; // purple bar of a read or verify
    virtual void letEventsRun() = 0;  // lets pending window events run
};

// Capcode clean-up before a write: capcodes #1 … #4 with no function bit enabled are disabled.
void clean_up_capcodes(PagerImage &image);

// The identity text of a pager: bytes 0x3E1 … 0x3EE as 8-bit characters, up to the first below 32.
QString identity_text(const std::vector<std::uint8_t> &buffer);
// The message shown when the identity is not a ZR730 (head: the edition's first line).
QString not_zr730_message(const QString &identity, const char *head = text::kNotZr730);

// The fields a verify found different, one line each (at most 50): the image as written against
// the pager's bytes strt … stp, both with their prompts in PC codes, as the editor shows them.
QString verify_details(const PagerImage &written, const std::vector<std::uint8_t> &read, int strt, int stp);

// The capcode of record index (0 … 5) of the image.
int capcode_of(const PagerImage &image, int index);

class TransferProcedures {
public:
    // link and view may be null: without a link every transfer fails; without a view nothing shows.
    // The parallel-port edition passes its board as lpt.
    TransferProcedures(ProgramState &state, PagerLink *link, TransferHost &host, TransferView *view,
                       ParallelPortLink *lpt = nullptr);

    // Link-independent entry points on the state's image.
    void tbl_writeall(int strt, int stp);
    void tbl_readall(int strt, int &stp);
    void tbl_verify(int strt, int stp);

    // The serial-link procedures over the pager link.
    void usb_writeall(int strt, int stp);
    void usb_readall(int strt, int stp);
    void usb_verify(int strt, int stp);

    // The parallel-port procedures over the I2C bus of the board.
    void lpt_writeall(int strt, int stp);
    void lpt_readall(int strt, int stp);
    void lpt_verify(int strt, int stp);
    // Parallel-port edition: the board must answer before a transfer (false: it said so).
    bool probe_board();
    bool parallel() const;

    // False, after telling the user, when the main window is in "Modify Mode".
    bool writeAllowed();
    // Text of the capcode box txtAddr(index).
    QString capcodeText(int index) const { return m_host.capcode_text(index); }

    // Write and verify one pager (Pager ▸ Write), recorded in the programming ledger.
    void write_and_verify();
    // Write and verify one pager, then the capcode increments when both succeeded.
    void write_one_pager();
    // A complete read of the whole memory (Pager ▸ Read), recorded in the programming ledger.
    void read_pager();
    // Where writes and reads are recorded; null for nowhere.
    void setRecorder(LedgerRecorder *recorder) { m_recorder = recorder; }

    // Increments capcode index (0 first, 1 second) in its box and in the image.
    void set_capcode(int index);

private:
    bool readRange(int start, int stop);
    // RoHS marker against the band; false when the user refused (flag −1).
    bool rohsAgreed(std::uint8_t marker);
    void prepareReadDisplay(int strt, int stp, const char *status);

    ProgramState &m_state;
    PagerLink *m_link;
    TransferHost &m_host;
    TransferView *m_view;
    ParallelPortLink *m_lpt;
    LedgerRecorder *m_recorder = nullptr;
    bool m_refused = false;  // the user said No to a question of the last write
    bool m_readDone = false; // the last read replaced the image
};

} // namespace zr730
