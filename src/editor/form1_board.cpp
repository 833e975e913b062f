// The programmer-board probe at start-up and the board watch.
#include <QObject>

#include "editor/form1.h"
#include "platform/serial_port.h"
#include "platform/usb_serial_registry.h"
#include "support/registry_access.h"
#include "transfer/serial_link.h"

namespace zr730 {

// Everything the board link needs, living as long as the window.
class Form1::BoardLink : public QObject, public BoardStatusView {
public:
    explicit BoardLink(Form1 &window)
        : QObject(&window),
          view(window.m_state.ports, window.m_state.settings),
          registry(view),
          ports(window.m_state.ports),
          link(window.m_state, registry, ports)
    {
        setObjectName(QStringLiteral("BoardLink"));
        link.setStatusView(this);
        Form1 *w = &window;
        link.setWatchTimer([w](bool on) {
            if (!on)
                w->Timer1.stop();
            else if (!w->m_closing)
                w->Timer1.start();
        });
        m_window = w;
    }

    void showBoardState(bool connected) override { m_window->showBoardState(connected); }

    UsbSerialRegistry view;
    clsRegistryAccess registry;
    QtSerialLibrary ports;
    SerialLink link;

private:
    Form1 *m_window = nullptr;
};

SerialLink *Form1::serialLink()
{
    if (!m_boardLink) m_boardLink = new BoardLink(*this);
    return &m_boardLink->link;
}

void Form1::probe_board_at_startup()
{
    SerialLink *link = serialLink();
    link->startupProbe = true;
    link->probe_board();
    link->startupProbe = false;
}

void Form1::Timer1_Timer()
{
    serialLink()->Timer1_Timer();
}

} // namespace zr730
