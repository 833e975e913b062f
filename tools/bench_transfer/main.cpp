// bench_transfer: times a full Write (RoHS check, write, read-back verify) and a full Read
// (identity check, then the whole memory) through the real serial link against the board
// simulator at 9600 bit/s, and compares them with the protocol's own minimum.
//
//   bench_transfer [--sim PATH-TO-boardsim] [--rounds N]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

#include "bench_support/board_process.h"
#include "platform/serial_port.h"
#include "platform/usb_serial_registry.h"
#include "support/program_state.h"
#include "support/registry_access.h"
#include "transfer/board_frame.h"
#include "transfer/serial_link.h"

using namespace zr730;

namespace {

class PrintedMessages : public MessageService {
public:
    MsgAnswer show(const QString &text, MsgIcon, MsgButtons) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        ++count;
        return MsgAnswer::Ok;
    }
    int count = 0;
};

constexpr double kBytesPerSecond = 960.0; // 9600 bit/s, 10 bits per character

double cpu_seconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Protocol minimum of reading [start, stop]: every byte on the wire plus the pauses, and the
// same with each pause overlapping the wire time of its own request and reply.
struct Minimum {
    double serial = 0;     // wire time of every byte + every 300 ms pause
    double overlapped = 0; // the pause runs while the request and reply are on the wire
};

void add_read(Minimum &m, int start, int stop)
{
    for (int a = start; a <= stop; a += kBoardBlockSize) {
        const int n = std::min(kBoardBlockSize, stop - a + 1);
        const double wire = (18 + n + frame::kOverhead) / kBytesPerSecond;
        m.serial += wire + kReadPauseMs / 1000.0;
        m.overlapped += std::max(wire, kReadPauseMs / 1000.0);
    }
}

void add_write(Minimum &m, int start, int stop)
{
    for (int a = start; a <= stop; a += kBoardBlockSize) {
        const int n = std::min(kBoardBlockSize, stop - a + 1);
        const double wire = (n + 17 + 16) / kBytesPerSecond;
        m.serial += wire;
        m.overlapped += wire;
    }
}

void report(const char *what, double seconds, double cpu, const Minimum &m)
{
    std::printf("%-34s %7.3f s   minimum %6.3f s (ratio %.3f)   overlapped minimum %6.3f s (ratio %.3f)   CPU %.3f s = %.2f %% of one core\n",
                what, seconds, m.serial, seconds / m.serial, m.overlapped, seconds / m.overlapped, cpu,
                100.0 * cpu / seconds);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString sim = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("boardsim"));
    int rounds = 1;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--sim") && i + 1 < args.size()) sim = args[++i];
        else if (args[i] == QLatin1String("--rounds") && i + 1 < args.size()) rounds = qMax(1, args[++i].toInt());
        else {
            std::fprintf(stderr, "usage: bench_transfer [--sim PATH-TO-boardsim] [--rounds N]\n");
            return 2;
        }
    }

    QTemporaryDir dir;
    const QString boardPath = dir.filePath(QStringLiteral("board"));
    QProcess board;
    if (!bench::start_board(board, sim, {QStringLiteral("--pace"), QStringLiteral("--link"), boardPath})) return 1;

    PrintedMessages messages;
    ProgramState state(messages);
    state.settings.adapterIds.clear();
    state.settings.extraPorts = {boardPath};
    UsbSerialRegistry view(state.ports, state.settings, [] { return QList<SerialDevice>{}; });
    RegistryAccess registry(view);
    QtSerialLibrary ports(state.ports);
    SerialLink link(state, registry, ports);
    if (!link.find_board()) {
        std::fprintf(stderr, "the board did not answer\n");
        return 1;
    }

    PagerImage image;
    for (int i = 0; i < kImageSize; ++i) image[i] = std::uint8_t((i * 13 + 7) & 0xFF);

    Minimum writeMin, readMin;
    add_read(writeMin, 0x3F8, 0x3F8);
    add_write(writeMin, 0, kImageLastIndex);
    add_read(writeMin, 0, kImageLastIndex);
    add_read(readMin, 0x3E1, 0x3EE); // the identity check comes first
    add_read(readMin, 0, kImageLastIndex);

    int failures = 0;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer t;
        double cpu0 = cpu_seconds();
        t.start();
        bool ok = link.usb_block_read(0x3F8, 0x3F8) && link.usb_block_write(image, 0, kImageLastIndex)
            && link.usb_block_read(0, kImageLastIndex);
        ok = ok && std::equal(state.read_buffer.begin(), state.read_buffer.end(), image.bytes().begin());
        double secs = t.nsecsElapsed() / 1e9;
        report("Write (RoHS check, write, verify)", secs, cpu_seconds() - cpu0, writeMin);
        if (!ok) ++failures;

        cpu0 = cpu_seconds();
        t.restart();
        ok = link.usb_block_read(0x3E1, 0x3EE) && link.usb_block_read(0, kImageLastIndex);
        secs = t.nsecsElapsed() / 1e9;
        report("Read (identity check, read)", secs, cpu_seconds() - cpu0, readMin);
        if (!ok) ++failures;
    }

    board.terminate();
    board.waitForFinished(5000);
    if (failures || messages.count) {
        std::fprintf(stderr, "%d transfer(s) failed\n", failures);
        return 1;
    }
    return 0;
}
