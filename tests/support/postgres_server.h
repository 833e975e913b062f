#pragma once
// A PostgreSQL server of a test's own: a new cluster in a temporary folder, trusted connections
// on 127.0.0.1 only at a free port, its socket inside the folder. The server refuses to run as
// root, so under root (as CI runs) the cluster belongs to the "postgres" user that Debian's
// package creates. It can be stopped and started again on the same port; it never outlives
// the object.
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QStringList>
#include <QTcpServer>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>

#include <pwd.h>
#include <unistd.h>

namespace zr730::testing {

class PostgresServer {
public:
    PostgresServer() = default;
    ~PostgresServer() { stop(); }
    PostgresServer(const PostgresServer &) = delete;
    PostgresServer &operator=(const PostgresServer &) = delete;

    // Makes the cluster on first use and starts the server; false with error() saying why.
    bool start()
    {
        if (m_running) return true;
        if (!m_initialised && !initialise()) return false;
        const QString options = QStringLiteral("-c listen_addresses=127.0.0.1 -p %1 -k %2 -c fsync=off "
                                               "-c synchronous_commit=off -c full_page_writes=off")
                                    .arg(m_port)
                                    .arg(m_dir.path());
        if (!run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), dataDir(), QStringLiteral("-l"), m_dir.filePath("server.log"),
                                            QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("30"),
                                            QStringLiteral("-o"), options, QStringLiteral("start")}))
            return false;
        m_running = true;
        return true;
    }

    // Stops the server at once (open connections are cut, as when a server goes away).
    void stop()
    {
        if (!m_running) return;
        m_running = false;
        if (run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), dataDir(), QStringLiteral("-m"), QStringLiteral("fast"),
                                           QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("30"),
                                           QStringLiteral("stop")}))
            return;
        // pg_ctl failed: end the server by its pid file so no process is left behind.
        QFile pidFile(QDir(dataDir()).filePath(QStringLiteral("postmaster.pid")));
        if (pidFile.open(QIODevice::ReadOnly)) {
            const pid_t pid = pid_t(pidFile.readLine().trimmed().toLongLong());
            if (pid > 0) ::kill(pid, SIGQUIT);
        }
    }

    // A new, empty database.
    bool createDatabase(const QString &name)
    {
        return run(QStringLiteral("createdb"), {QStringLiteral("-h"), host(), QStringLiteral("-p"), QString::number(m_port),
                                                QStringLiteral("-U"), user(), name});
    }

    bool running() const { return m_running; }
    QString host() const { return QStringLiteral("127.0.0.1"); }
    int port() const { return m_port; }
    QString user() const { return QStringLiteral("postgres"); } // the cluster's superuser
    QString error() const { return m_error; }

private:
    QString dataDir() const { return m_dir.filePath(QStringLiteral("data")); }

    static QString findBinaries()
    {
        QDir root(QStringLiteral("/usr/lib/postgresql"));
        // The newest version first: "15" before "9.6".
        QStringList versions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        std::sort(versions.begin(), versions.end(), [](const QString &a, const QString &b) { return a.toDouble() > b.toDouble(); });
        for (const QString &v : versions) {
            const QString bin = root.filePath(v + QStringLiteral("/bin"));
            if (QFile::exists(bin + QStringLiteral("/initdb")) && QFile::exists(bin + QStringLiteral("/pg_ctl"))) return bin;
        }
        return {};
    }

    bool initialise()
    {
        m_bin = findBinaries();
        if (m_bin.isEmpty()) {
            m_error = QStringLiteral("No PostgreSQL server binaries (initdb, pg_ctl) in /usr/lib/postgresql/*/bin; "
                                     "install the postgresql package (scripts/install-deps does).");
            return false;
        }
        if (!m_dir.isValid()) {
            m_error = QStringLiteral("No temporary folder for the PostgreSQL cluster: %1").arg(m_dir.errorString());
            return false;
        }
        if (::geteuid() == 0) {
            const passwd *pw = ::getpwnam("postgres");
            if (!pw) {
                m_error = QStringLiteral("Running as root needs the \"postgres\" user (made by the postgresql package) "
                                         "to run the test server.");
                return false;
            }
            if (::chown(QFile::encodeName(m_dir.path()).constData(), pw->pw_uid, pw->pw_gid) != 0) {
                m_error = QStringLiteral("The temporary folder %1 cannot be given to the postgres user.").arg(m_dir.path());
                return false;
            }
        }
        QTcpServer probe; // a port nobody listens on now
        if (!probe.listen(QHostAddress::LocalHost, 0)) {
            m_error = QStringLiteral("No free TCP port on 127.0.0.1.");
            return false;
        }
        m_port = probe.serverPort();
        probe.close();
        if (!run(QStringLiteral("initdb"), {QStringLiteral("-D"), dataDir(), QStringLiteral("-A"), QStringLiteral("trust"),
                                            QStringLiteral("-U"), user(), QStringLiteral("-E"), QStringLiteral("UTF8"),
                                            QStringLiteral("--locale=C"), QStringLiteral("--no-sync"),
                                            QStringLiteral("--no-instructions")}))
            return false;
        m_initialised = true;
        return true;
    }

    // Runs one of the server's tools, as the postgres user when this is root.
    bool run(const QString &tool, const QStringList &args)
    {
        QProcess p;
        p.setWorkingDirectory(m_dir.path()); // the postgres user may not enter the test's folder
        p.setProcessChannelMode(QProcess::MergedChannels);
        const QString program = m_bin + QLatin1Char('/') + tool;
        if (::geteuid() == 0)
            p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), program} + args);
        else
            p.start(program, args);
        if (!p.waitForStarted(10000) || !p.waitForFinished(60000)) {
            m_error = QStringLiteral("%1 did not run: %2").arg(tool, p.errorString());
            p.kill();
            p.waitForFinished(5000);
            return false;
        }
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            QFile log(m_dir.filePath(QStringLiteral("server.log")));
            const QByteArray serverLog = log.open(QIODevice::ReadOnly) ? log.readAll().right(2000) : QByteArray();
            m_error = QStringLiteral("%1 failed (%2): %3 %4").arg(tool).arg(p.exitCode())
                          .arg(QString::fromLocal8Bit(p.readAll()), QString::fromLocal8Bit(serverLog));
            return false;
        }
        return true;
    }

    QTemporaryDir m_dir;
    QString m_bin;
    QString m_error;
    int m_port = 0;
    bool m_initialised = false;
    bool m_running = false;
};

} // namespace zr730::testing
