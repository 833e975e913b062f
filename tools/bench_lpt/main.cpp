// bench_lpt: bus time of a full write and a full read of the pager memory over the parallel-port
// link, against the simulated board and EEPROM, beside the bit-time minimum (every half-step
// wait of 25 µs plus the 10 ms page sleeps of the write).
//
//   bench_lpt [--rounds N]
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstring>

#include "image/defaults.h"
#include "platform/simulated_parport.h"
#include "support/program_state.h"
#include "transfer/parallel_port_link.h"

using namespace zr730;

namespace {
class PrintedMessages : public MessageService {
public:
    MsgAnswer show(const QString &text, MsgIcon, MsgButtons) override
    {
        if (text != QLatin1String("Verify Success!")) std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return MsgAnswer::Ok;
    }
};
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int rounds = 3;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::atoi(argv[++i]);

    PrintedMessages messages;
    ProgramState state(messages);
    SimulatedParallelPort::Memory blank;
    blank.fill(0xFF);
    SimulatedParallelPort port(blank);
    ParallelPortLink lpt(state, port);
    const PagerImage image = default_image();

    std::printf("%-6s %10s %10s %7s\n", "", "measured", "minimum", "ratio");
    for (int r = 0; r < rounds; ++r) {
        for (int what = 0; what < 2; ++what) {
            const long steps = lpt.halfSteps(), sleeps = lpt.pageSleeps();
            QElapsedTimer t;
            t.start();
            bool ok = false;
            if (what == 0) {
                ok = lpt.page_write(image, 0, kImageLastIndex, nullptr);
            } else {
                PagerImage back;
                ok = lpt.sequential_read(back, 0, kImageLastIndex, nullptr) && back == image;
            }
            const double seconds = double(t.nsecsElapsed()) / 1e9;
            const double minimum = double(lpt.halfSteps() - steps) * 25e-6 + double(lpt.pageSleeps() - sleeps) * 0.010;
            std::printf("%-6s %9.3fs %9.3fs %7.3f%s\n", what == 0 ? "write" : "read", seconds, minimum,
                        seconds / minimum, ok ? "" : "  FAILED");
        }
    }
    return 0;
}
