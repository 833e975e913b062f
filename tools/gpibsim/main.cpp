// gpibsim: a GPIB controller with the common "++" command set and a signal generator behind it,
// on loopback TCP (as a LAN gateway) or on a pseudo-terminal (as a USB controller).
//
//   gpibsim [--port N] [--serial [--link PATH]] [--log FILE] [--instruments A,B,...]
//           [--fault refuse|stall|refuse-after=N]
//
// It prints "gpibsim: ready 127.0.0.1:PORT" (or "gpibsim: ready /dev/pts/N") and then one line
// "gpibsim: ADDR COMMAND" for every instrument command it receives, also appended to --log FILE.
// "++spoll" answers a status byte for an address in --instruments (default 19) and an empty line
// for any other address, as a controller whose poll found no listener.
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <set>
#include <termios.h>
#include <unistd.h>

namespace {

struct Options {
    quint16 port = 1234;
    bool serial = false;
    QString link, log;
    std::set<int> instruments{19};
    QString fault;       // "", "refuse", "stall", "refuse-after"
    int refuseAfter = -1;
};

// The "++" protocol of one client: unescaped CR or LF ends a line, ESC takes the next byte as
// data; a line starting with "++" is for the controller, any other goes to the instrument.
class Controller {
public:
    Controller(const Options &o, std::function<void(const QByteArray &)> reply) : m_o(o), m_reply(std::move(reply)) {}

    void feed(const QByteArray &bytes)
    {
        for (char c : bytes) {
            if (m_escape) {
                m_line += c;
                m_escape = false;
            } else if (c == 27) {
                m_escape = true;
            } else if (c == '\n' || c == '\r') {
                if (!m_line.isEmpty()) line(m_line);
                m_line.clear();
            } else {
                m_line += c;
            }
        }
    }

private:
    void line(const QByteArray &l)
    {
        if (!l.startsWith("++")) {
            QByteArray data = l;
            while (data.endsWith('\n') || data.endsWith('\r')) data.chop(1);
            record(QByteArray::number(m_addr) + ' ' + data);
            return;
        }
        const QList<QByteArray> parts = l.mid(2).simplified().split(' ');
        const QByteArray cmd = parts.value(0);
        if (cmd == "addr" && parts.size() > 1) {
            m_addr = parts[1].toInt();
        } else if (cmd == "spoll") {
            const int a = parts.size() > 1 ? parts[1].toInt() : m_addr;
            m_reply(m_o.instruments.count(a) ? "0\n" : "\n");
        } else if (cmd == "ver") {
            m_reply("gpibsim GPIB controller 1.0\n");
        }
    }
    void record(const QByteArray &entry)
    {
        std::printf("gpibsim: %s\n", entry.constData());
        std::fflush(stdout);
        if (m_o.log.isEmpty()) return;
        QFile f(m_o.log);
        if (f.open(QIODevice::Append)) f.write(entry + '\n');
    }

    const Options &m_o;
    std::function<void(const QByteArray &)> m_reply;
    QByteArray m_line;
    bool m_escape = false;
    int m_addr = 0;
};

void usage()
{
    std::fprintf(stderr, "usage: gpibsim [--port N] [--serial [--link PATH]] [--log FILE] [--instruments A,B,...]\n"
                         "               [--fault refuse|stall|refuse-after=N]\n");
}

bool parse(const QStringList &args, Options &o)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString a = args[i];
        const QString v = i + 1 < args.size() ? args[i + 1] : QString();
        bool ok = true;
        if (a == "--port") {
            o.port = quint16(v.toUInt(&ok)), ++i;
        } else if (a == "--serial") {
            o.serial = true;
        } else if (a == "--link") {
            o.link = v, ++i;
        } else if (a == "--log") {
            o.log = v, ++i;
        } else if (a == "--instruments") {
            o.instruments.clear();
            for (const QString &n : v.split(',', Qt::SkipEmptyParts)) o.instruments.insert(n.toInt());
            ++i;
        } else if (a == "--fault" && v.startsWith("refuse-after=")) {
            o.fault = "refuse-after", o.refuseAfter = v.mid(13).toInt(&ok), ++i;
        } else if (a == "--fault" && (v == "refuse" || v == "stall")) {
            o.fault = v, ++i;
        } else {
            return false;
        }
        if (!ok || (i >= args.size() && a != "--serial")) return false;
    }
    return true;
}

void on_signal(int) { QCoreApplication::quit(); }

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Options o;
    if (!parse(app.arguments(), o)) {
        usage();
        return 2;
    }
    std::signal(SIGINT, on_signal);
    std::signal(SIGTERM, on_signal);

    if (o.serial) {
        const int fd = posix_openpt(O_RDWR | O_NOCTTY);
        if (fd < 0 || grantpt(fd) != 0 || unlockpt(fd) != 0) {
            std::perror("gpibsim: pseudo-terminal");
            return 1;
        }
        termios t{};
        tcgetattr(fd, &t);
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
        const QString slave = QString::fromLocal8Bit(ptsname(fd));
        // Keep the terminal alive between clients.
        const int keep = ::open(ptsname(fd), O_RDWR | O_NOCTTY);
        if (!o.link.isEmpty()) {
            QFile::remove(o.link);
            if (::symlink(ptsname(fd), o.link.toLocal8Bit().constData()) != 0) std::perror("gpibsim: link");
        }
        auto *controller = new Controller(o, [fd](const QByteArray &r) { (void)::write(fd, r.constData(), size_t(r.size())); });
        auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, [fd, controller] {
            char buf[512];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0) controller->feed(QByteArray(buf, qsizetype(n)));
        });
        std::printf("gpibsim: ready %s\n", qPrintable(slave));
        std::fflush(stdout);
        const int rc = app.exec();
        if (!o.link.isEmpty()) QFile::remove(o.link);
        ::close(keep);
        return rc;
    }

    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, o.port)) {
        std::fprintf(stderr, "gpibsim: cannot listen on 127.0.0.1:%u: %s\n", unsigned(o.port),
                     qPrintable(server.errorString()));
        return 1;
    }
    int accepted = 0;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        while (QTcpSocket *s = server.nextPendingConnection()) {
            ++accepted;
            if (o.fault == "refuse" || (o.fault == "refuse-after" && accepted > o.refuseAfter)) {
                s->abort();
                s->deleteLater();
                continue;
            }
            QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            if (o.fault == "stall") continue; // takes the connection, never reads or answers
            auto *controller = new Controller(o, [s](const QByteArray &r) { s->write(r); });
            QObject::connect(s, &QObject::destroyed, [controller] { delete controller; });
            QObject::connect(s, &QTcpSocket::readyRead, s, [s, controller] { controller->feed(s->readAll()); });
        }
    });
    std::printf("gpibsim: ready 127.0.0.1:%u\n", unsigned(server.serverPort()));
    std::fflush(stdout);
    return app.exec();
}
