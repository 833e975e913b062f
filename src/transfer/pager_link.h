#pragma once
// The seam between the transfer procedures and the byte transport to the pager: the serial
// link over the USB adapter, or the parallel-port I2C link.
#include <QString>

#include "image/image.h"

namespace zr730 {

// The transfer dialog's progress display (progress bar PB1 and status label Label1).
class TransferProgress {
public:
    virtual ~TransferProgress();
    virtual void setMaximum(int maximum) = 0;
    virtual void setPosition(int position) = 0; // positions beyond the maximum are clamped
    virtual void useHighlightColour() = 0;      // bar colour: the system highlight colour
    virtual void setStatus(const QString &text) = 0;
};

// The main window's board status (lblMsg and the Pager menu).
class BoardStatusView {
public:
    virtual ~BoardStatusView();
    // Connected: black "  The Programmed Board Connect !", Pager menu enabled.
    // Disconnected: red "  The Programmed Board Disconnect !", Pager menu disabled.
    virtual void showBoardState(bool connected) = 0;
};

class PagerLink {
public:
    virtual ~PagerLink();
    // Writes image[start..stop] to the pager in frames of blockSize bytes; reports its own
    // failures through the message service and returns false.
    virtual bool block_write(const PagerImage &image, int start, int stop, int blockSize) = 0;
    // Reads the pager's bytes start..stop into the state's read buffer (re-dimensioned to
    // 0..stop); on failure reports, sets the transfer result flag to -1 and returns false.
    virtual bool block_read(int start, int stop, int blockSize) = 0;
    // Where progress is shown during the next transfers; null for none.
    virtual void setProgress(TransferProgress *progress) = 0;
    // True while the link talks to the board (a transfer, or the board watch looking for a
    // board); a transfer asked for meanwhile has to wait until it is false again.
    virtual bool busy() const { return false; }
};

} // namespace zr730
