// boardsim: a programmer board with a pager attached, on a pseudo-terminal.
//
//   boardsim [--link PATH] [--load FILE] [--save FILE] [--pace]
//            [--fault silence|bad-checksum|wrong-ack|garbage|disconnect-after=N|delay=N:MS|trickle=MS|
//                     stuck=ADDR]
//
// It prints "boardsim: ready <terminal path>" once the terminal is open (and linked), then
// answers presence, memory read and memory write frames until it is stopped (SIGINT or
// SIGTERM), saving the memory to --save FILE after every write and on exit.
#include <QByteArray>
#include <QString>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include "transfer/board_frame.h"

namespace {

using Memory = std::array<std::uint8_t, 1024>;

volatile std::sig_atomic_t g_stop = 0;
void on_signal(int) { g_stop = 1; }

struct Options {
    std::string link, load, save;
    bool pace = false;
    std::string fault;       // "", "silence", "bad-checksum", "wrong-ack", "garbage", "disconnect"
    long disconnectAfter = -1;
    long delayFrame = -1, delayMs = 0; // delay=N:MS: the reply to memory frame N comes MS ms late
    long trickleMs = 0;                // trickle=MS: replies go out one byte at a time, MS ms apart
    long stuckAddress = -1;            // stuck=ADDR: a worn-out EEPROM cell that keeps its byte
};

constexpr long kByteNs = 1'000'000'000L / 960; // one 8N1 character at 9600 bit/s

timespec now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t;
}

timespec add_ns(timespec t, long long ns)
{
    long long total = t.tv_nsec + ns;
    t.tv_sec += time_t(total / 1'000'000'000LL);
    t.tv_nsec = long(total % 1'000'000'000LL);
    return t;
}

bool later(const timespec &a, const timespec &b)
{
    return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

void usage()
{
    std::fprintf(stderr,
                 "usage: boardsim [--link PATH] [--load FILE] [--save FILE] [--pace]\n"
                 "                [--fault silence|bad-checksum|wrong-ack|garbage|disconnect-after=N|\n"
                 "                         delay=N:MS|trickle=MS|stuck=ADDR]\n");
}

std::optional<Options> parse(int argc, char **argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> std::optional<std::string> {
            if (i + 1 >= argc) return std::nullopt;
            return std::string(argv[++i]);
        };
        if (a == "--pace") { o.pace = true; continue; }
        std::optional<std::string> v;
        if (a == "--link" || a == "--load" || a == "--save" || a == "--fault") {
            v = next();
            if (!v) return std::nullopt;
        } else {
            return std::nullopt;
        }
        if (a == "--link") o.link = *v;
        else if (a == "--load") o.load = *v;
        else if (a == "--save") o.save = *v;
        else if (v->rfind("disconnect-after=", 0) == 0) {
            char *end = nullptr;
            o.disconnectAfter = std::strtol(v->c_str() + 17, &end, 10);
            if (*end || o.disconnectAfter < 0) return std::nullopt;
            o.fault = "disconnect";
        } else if (v->rfind("delay=", 0) == 0) {
            char *end = nullptr;
            o.delayFrame = std::strtol(v->c_str() + 6, &end, 10);
            if (*end != ':' || o.delayFrame < 0) return std::nullopt;
            o.delayMs = std::strtol(end + 1, &end, 10);
            if (*end || o.delayMs < 0) return std::nullopt;
            o.fault = "delay";
        } else if (v->rfind("trickle=", 0) == 0) {
            char *end = nullptr;
            o.trickleMs = std::strtol(v->c_str() + 8, &end, 10);
            if (*end || o.trickleMs < 0) return std::nullopt;
            o.fault = "trickle";
        } else if (v->rfind("stuck=", 0) == 0) {
            char *end = nullptr;
            o.stuckAddress = std::strtol(v->c_str() + 6, &end, 0);
            if (*end || o.stuckAddress < 0 || o.stuckAddress > 1023) return std::nullopt;
            o.fault = "stuck";
        } else if (*v == "silence" || *v == "bad-checksum" || *v == "wrong-ack" || *v == "garbage") {
            o.fault = *v;
        } else {
            return std::nullopt;
        }
    }
    return o;
}

bool load_memory(const std::string &path, Memory &mem)
{
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    const size_t n = std::fread(mem.data(), 1, mem.size(), f);
    std::fclose(f);
    (void)n; // a short table fills what it has; the rest stays blank
    return true;
}

void save_memory(const std::string &path, const Memory &mem)
{
    if (path.empty()) return;
    const std::string tmp = path + ".part";
    FILE *f = std::fopen(tmp.c_str(), "wb");
    if (!f) return;
    const bool ok = std::fwrite(mem.data(), 1, mem.size(), f) == mem.size();
    if (std::fclose(f) == 0 && ok) std::rename(tmp.c_str(), path.c_str());
}

// Writes all bytes to the terminal; paced, one character time each.
void send(int master, const QByteArray &bytes, bool pace, timespec start)
{
    timespec due = start;
    for (int i = 0; i < bytes.size(); ++i) {
        if (pace) {
            clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr);
            due = add_ns(due, kByteNs);
        }
        const int chunk = pace ? 1 : int(bytes.size()) - i;
        int tries = 0;
        for (;;) {
            const ssize_t w = ::write(master, bytes.constData() + i, size_t(chunk));
            if (w > 0) { i += int(w) - 1; break; }
            if (w < 0 && errno == EINTR) continue;
            if (w < 0 && errno == EAGAIN && ++tries < 20) { // nobody reading: wait a little
                pollfd p{master, POLLOUT, 0};
                ::poll(&p, 1, 10);
                continue;
            }
            return; // the buffer stays full: drop the rest
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    const auto parsed = parse(argc, argv);
    if (!parsed) {
        usage();
        return 2;
    }
    const Options opt = *parsed;

    Memory mem{};
    if (!opt.load.empty() && !load_memory(opt.load, mem)) {
        std::fprintf(stderr, "boardsim: cannot read %s: %s\n", opt.load.c_str(), std::strerror(errno));
        return 1;
    }

    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::fprintf(stderr, "boardsim: no pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    const std::string slavePath = ptsname(master);
    // Our own hold on the terminal: the program opens and closes its side between
    // transfers, and without a second holder every close would hang the terminal up.
    const int slave = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY);
    if (slave < 0) {
        std::fprintf(stderr, "boardsim: cannot open %s: %s\n", slavePath.c_str(), std::strerror(errno));
        return 1;
    }
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    cfsetspeed(&tio, B9600);
    tcsetattr(slave, TCSANOW, &tio);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    if (!opt.link.empty()) {
        struct stat st{};
        if (lstat(opt.link.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) ::unlink(opt.link.c_str());
        if (::symlink(slavePath.c_str(), opt.link.c_str()) != 0) {
            std::fprintf(stderr, "boardsim: cannot link %s: %s\n", opt.link.c_str(), std::strerror(errno));
            return 1;
        }
    }

    struct sigaction sa{};
    sa.sa_handler = on_signal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::printf("boardsim: ready %s\n", slavePath.c_str());
    if (!opt.link.empty()) std::printf("boardsim: linked as %s\n", opt.link.c_str());
    std::fflush(stdout);

    QByteArray in;
    timespec firstByte{};
    long answered = 0;
    bool disconnect = false;
    while (!g_stop && !disconnect) {
        pollfd p{master, POLLIN, 0};
        const int r = ::poll(&p, 1, 200);
        if (r < 0 && errno != EINTR) break;
        if (r <= 0) continue;
        char buf[512];
        const ssize_t n = ::read(master, buf, sizeof buf);
        if (n <= 0) continue;
        if (in.isEmpty()) firstByte = now();
        in.append(buf, int(n));

        while (auto f = zr730::frame::takeFrame(in)) {
            // The request is on the wire for one character time per byte.
            const int requestBytes = zr730::frame::kOverhead + int(f->payload.size());
            timespec start = opt.pace ? add_ns(firstByte, requestBytes * kByteNs) : now();
            if (!later(start, now())) start = now();
            firstByte = now();

            if (opt.fault == "disconnect" && answered >= opt.disconnectAfter) {
                disconnect = true;
                break;
            }
            if (!f->checksumOk) continue; // a damaged request gets no answer
            if (opt.fault == "silence") continue; // a switched-off board neither answers nor stores
            QByteArray reply;
            using namespace zr730::frame;
            if (f->channel == kChannelPresence && f->operation == kRead) {
                reply = encode(kChannelPresence, kRead, QByteArray("\x07\x30", 2));
            } else if (f->channel == kChannelMemory && f->operation == kRead && f->payload.size() == 3) {
                const int addr = (std::uint8_t(f->payload[0]) << 8) | std::uint8_t(f->payload[1]);
                const int count = std::uint8_t(f->payload[2]);
                QByteArray data(count, '\0');
                for (int i = 0; i < count; ++i) data[i] = char(mem[size_t((addr + i) & 0x3FF)]);
                reply = encode(kChannelMemory, kRead, data);
            } else if (f->channel == kChannelMemory && f->operation == kWrite && f->payload.size() >= 3) {
                const int addr = (std::uint8_t(f->payload[0]) << 8) | std::uint8_t(f->payload[1]);
                for (int i = 2; i < f->payload.size(); ++i) {
                    const long a = (addr + i - 2) & 0x3FF;
                    if (a != opt.stuckAddress) mem[size_t(a)] = std::uint8_t(f->payload[i]);
                }
                save_memory(opt.save, mem);
                reply = encode(kChannelMemory, kWrite,
                               QByteArray(1, char(opt.fault == "wrong-ack" ? 0x15 : kAck)));
            } else {
                continue;
            }
            ++answered;
            const bool memoryFrame = f->channel == kChannelMemory;
            if (opt.fault == "bad-checksum" && memoryFrame) reply[reply.size() - 1] = char(reply.back() ^ 0x5A);
            if (opt.fault == "garbage") reply.prepend(QByteArray("\xFF\x00\x55zz", 5));
            if (opt.fault == "delay" && memoryFrame && answered - 1 == opt.delayFrame) {
                const timespec pause{opt.delayMs / 1000, (opt.delayMs % 1000) * 1'000'000L};
                nanosleep(&pause, nullptr);
                start = now();
            }
            if (opt.fault == "trickle") {
                const timespec gap{0, opt.trickleMs * 1'000'000L};
                for (int i = 0; i < reply.size(); ++i) {
                    send(master, reply.mid(i, 1), false, now());
                    nanosleep(&gap, nullptr);
                }
                continue;
            }
            send(master, reply, opt.pace, start);
        }
    }

    save_memory(opt.save, mem);
    if (!opt.link.empty()) ::unlink(opt.link.c_str());
    ::close(master);
    ::close(slave);
    return 0;
}
