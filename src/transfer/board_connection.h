#pragma once
// The serial board link with everything it stands on: the view of the attached adapters that
// the installation settings select, the registry over it, the serial layer, and the frame
// trace when one is asked for. The window and the command-line companion build the same one.
#include <QString>

#include <memory>

#include "platform/serial_port.h"
#include "platform/usb_serial_registry.h"
#include "support/registry_access.h"
#include "transfer/frame_trace.h"
#include "transfer/serial_link.h"

namespace zr730 {

struct ProgramState;

class BoardConnection {
public:
    // traceFile: where frames are logged; empty for no trace.
    BoardConnection(ProgramState &state, const QString &traceFile);

    SerialLink &link() { return m_link; }
    // Why the trace file could not be opened; empty when there is no trace or it is open.
    QString traceProblem() const;

private:
    UsbSerialRegistry m_view;
    RegistryAccess m_registry;
    QtSerialLibrary m_ports;
    std::unique_ptr<TracingSerialLibrary> m_trace;
    SerialLink m_link;
};

} // namespace zr730
