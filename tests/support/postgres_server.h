#pragma once
// A PostgreSQL server of a test's own: a new cluster in a temporary folder, trusted connections
// on 127.0.0.1 only at a free port, its socket inside the folder. The server refuses to run as
// root, so under root (as CI runs) the cluster belongs to the "postgres" user that Debian's
// package creates. It can be stopped and started again on the same port. The server is this
// process's own child with a parent-death signal, so it never outlives the object, nor a test
// that crashes or is killed.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QStringList>
#include <QTcpServer>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <memory>

#include <pwd.h>
#include <unistd.h>

#include "support/child_process.h"

namespace zr730::testing {

class PostgresServer {
public:
    // parent: the folder that holds the cluster's temporary folder.
    explicit PostgresServer(const QString &parent = QDir::tempPath()) : m_dir(parent + "/zr730-postgres-XXXXXX") {}
    ~PostgresServer() { stop(); }
    PostgresServer(const PostgresServer &) = delete;
    PostgresServer &operator=(const PostgresServer &) = delete;

    // Makes the cluster on first use and starts the server; false with error() saying why.
    bool start()
    {
        if (running()) return true;
        if (!m_initialised && !initialise()) return false;
        const QString log = m_dir.filePath("server.log");
        QFile::remove(log);
        m_server = std::make_unique<QProcess>();
        m_server->setWorkingDirectory(m_dir.path());
        m_server->setStandardOutputFile(log);
        m_server->setStandardErrorFile(log, QIODevice::Append);
        // setpriv execs the server with SIGINT (fast shutdown) due when this process dies; it
        // sets that again after taking the postgres user, which clears it.
        endWithThisTest(*m_server, SIGINT);
        QStringList args{"--pdeathsig", "INT"};
        if (::geteuid() == 0)
            args << "--reuid=postgres"
                 << "--regid=postgres"
                 << "--init-groups";
        args << "--" << m_bin + "/postgres"
             << "-D" << dataDir() << "-p" << QString::number(m_port) << "-k" << m_dir.path();
        for (const char *option :
             {"listen_addresses=127.0.0.1", "fsync=off", "synchronous_commit=off", "full_page_writes=off"})
            args << "-c" << QString::fromLatin1(option);
        m_server->start("setpriv", args);
        if (!m_server->waitForStarted(10000)) {
            m_error = QString("setpriv did not start the PostgreSQL server: %1").arg(m_server->errorString());
            m_server.reset();
            return false;
        }
        QFile file(log);
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 30000) {
            if (file.isOpen() || file.open(QIODevice::ReadOnly)) {
                file.seek(0);
                if (file.readAll().contains("ready to accept connections")) return true;
            }
            if (m_server->waitForFinished(50)) break; // ended on its own: the log says why
        }
        file.seek(0);
        m_error =
            QString("The PostgreSQL server did not start: %1").arg(QString::fromLocal8Bit(file.readAll().right(2000)));
        stop();
        return false;
    }

    // Stops the server at once: a fast shutdown (as pg_ctl stop -m fast) cuts open connections,
    // as when a server goes away.
    void stop()
    {
        if (!m_server) return;
        if (m_server->state() != QProcess::NotRunning) {
            ::kill(pid_t(m_server->processId()), SIGINT);
            if (!m_server->waitForFinished(30000)) {
                m_server->kill();
                m_server->waitForFinished(5000);
            }
        }
        m_server.reset();
    }

    // A new, empty database.
    bool createDatabase(const QString &name)
    {
        return run("createdb", {"-h", host(), "-p", QString::number(m_port), "-U", user(), name});
    }

    bool running() const { return m_server && m_server->state() == QProcess::Running; }
    qint64 processId() const { return m_server ? m_server->processId() : 0; }
    QString host() const { return "127.0.0.1"; }
    int port() const { return m_port; }
    QString user() const { return "postgres"; } // the cluster's superuser
    QString error() const { return m_error; }

private:
    QString dataDir() const { return m_dir.filePath("data"); }

    static QString findBinaries()
    {
        QDir root("/usr/lib/postgresql");
        // The newest version first: "15" before "9.6".
        QStringList versions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        std::sort(versions.begin(), versions.end(),
                  [](const QString &a, const QString &b) { return a.toDouble() > b.toDouble(); });
        for (const QString &v : versions) {
            const QString bin = root.filePath(v + "/bin");
            if (QFile::exists(bin + "/initdb") && QFile::exists(bin + "/postgres")) return bin;
        }
        return {};
    }

    bool initialise()
    {
        m_bin = findBinaries();
        if (m_bin.isEmpty()) {
            m_error = QString("No PostgreSQL server binaries (initdb, postgres) in /usr/lib/postgresql/*/bin; "
                              "install the postgresql package (scripts/install-deps does).");
            return false;
        }
        if (!m_dir.isValid()) {
            m_error = QString("No temporary folder for the PostgreSQL cluster: %1").arg(m_dir.errorString());
            return false;
        }
        if (::geteuid() == 0) {
            const passwd *pw = ::getpwnam("postgres");
            if (!pw) {
                m_error = QString("Running as root needs the \"postgres\" user (made by the postgresql package) "
                                  "to run the test server.");
                return false;
            }
            if (::chown(QFile::encodeName(m_dir.path()).constData(), pw->pw_uid, pw->pw_gid) != 0) {
                m_error = QString("The temporary folder %1 cannot be given to the postgres user.").arg(m_dir.path());
                return false;
            }
        }
        QTcpServer probe; // a port nobody listens on now
        if (!probe.listen(QHostAddress::LocalHost, 0)) {
            m_error = "No free TCP port on 127.0.0.1.";
            return false;
        }
        m_port = probe.serverPort();
        probe.close();
        if (!run("initdb", {"-D", dataDir(), "-A", "trust", "-U", user(), "-E", "UTF8", "--locale=C", "--no-sync",
                            "--no-instructions"}))
            return false;
        m_initialised = true;
        return true;
    }

    // Runs one of the server's tools to its end, as the postgres user when this is root.
    bool run(const QString &tool, const QStringList &args)
    {
        QProcess p;
        p.setWorkingDirectory(m_dir.path()); // the postgres user may not enter the test's folder
        p.setProcessChannelMode(QProcess::MergedChannels);
        const QString program = m_bin + QLatin1Char('/') + tool;
        if (::geteuid() == 0)
            p.start("runuser", QStringList{"-u", "postgres", "--", program} + args);
        else
            p.start(program, args);
        if (!p.waitForStarted(10000) || !p.waitForFinished(60000)) {
            m_error = QString("%1 did not run: %2").arg(tool, p.errorString());
            p.kill();
            p.waitForFinished(5000);
            return false;
        }
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            m_error =
                QString("%1 failed (%2): %3").arg(tool).arg(p.exitCode()).arg(QString::fromLocal8Bit(p.readAll()));
            return false;
        }
        return true;
    }

    QTemporaryDir m_dir;
    QString m_bin;
    QString m_error;
    int m_port = 0;
    bool m_initialised = false;
    std::unique_ptr<QProcess> m_server;
};

} // namespace zr730::testing
