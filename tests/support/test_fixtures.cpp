// The fixtures that start processes: a test that is killed leaves none of them running.
#include <QtTest>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>

#include "support/child_process.h"

using namespace zr730::testing;

namespace {
// The processes whose parent is `parent`.
QList<qint64> childrenOf(qint64 parent)
{
    QList<qint64> children;
    for (const QString &entry : QDir("/proc").entryList(QDir::Dirs)) {
        QFile stat("/proc/" + entry + "/stat");
        if (!stat.open(QIODevice::ReadOnly)) continue;
        const QByteArray s = stat.readAll();
        // "pid (name) state ppid …": the name may hold blanks, so read after its ')'.
        const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toLongLong() == parent) children << entry.toLongLong();
    }
    return children;
}

// Alive: there, and not a zombie waiting for an init that does not reap.
bool alive(qint64 pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return false;
    const QByteArray s = stat.readAll();
    return s.mid(s.lastIndexOf(')') + 2, 1) != "Z";
}
} // namespace

class TestFixtures : public QObject {
    Q_OBJECT
private slots:
    void aKilledTestLeavesNoProcessOfItsFixtures_data();
    void aKilledTestLeavesNoProcessOfItsFixtures();
};

void TestFixtures::aKilledTestLeavesNoProcessOfItsFixtures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("board simulator") << "board";
    QTest::newRow("GPIB simulator") << "gpib";
    QTest::newRow("PostgreSQL server") << "postgres";
}

void TestFixtures::aKilledTestLeavesNoProcessOfItsFixtures()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The PostgreSQL server's own user must reach its folder inside.
    QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther | QFile::ExeGroup);
    QProcess test;
    endWithThisTest(test);
    test.start(ZR730_FIXTURE_CHILD_PATH, {kind, dir.path()});
    QVERIFY(test.waitForStarted(5000));
    QByteArray out;
    while (!out.contains('\n') && test.waitForReadyRead(60000)) out += test.readAllStandardOutput();
    QVERIFY2(out == "started\n", test.readAllStandardError().constData());
    // The fixture's process and, for the server, the processes it started in turn.
    QList<qint64> family;
    for (qint64 child : childrenOf(test.processId())) family << child << childrenOf(child);
    QVERIFY(!family.isEmpty());
    // Should the check fail, the processes still go.
    const auto tidy = qScopeGuard([&family] {
        for (qint64 pid : family)
            if (alive(pid)) ::kill(pid_t(pid), SIGTERM);
    });

    ::kill(pid_t(test.processId()), SIGKILL);
    QVERIFY(test.waitForFinished(5000));
    QElapsedTimer waited;
    waited.start();
    for (qint64 pid : family) {
        while (alive(pid) && waited.elapsed() < 3000) QTest::qWait(20);
        QVERIFY2(!alive(pid), qPrintable(QString("process %1 still runs after %2 ms").arg(pid).arg(waited.elapsed())));
    }
    qInfo("all %lld ended within %lld ms", qint64(family.size()), waited.elapsed());
}

QTEST_GUILESS_MAIN(TestFixtures)
#include "test_fixtures.moc"
