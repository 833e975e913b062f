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
// A process's state letter and its parent, from "pid (name) state ppid …" (the name may hold
// blanks); none for a process that is gone.
std::pair<char, qint64> stateOf(const QString &pid)
{
    QFile stat("/proc/" + pid + "/stat");
    if (!stat.open(QIODevice::ReadOnly)) return {0, 0};
    const QByteArray s = stat.readAll();
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    return {fields[0][0], fields.value(1).toLongLong()};
}
// Alive: there, and not a zombie waiting for an init that does not reap.
bool alive(qint64 pid)
{
    const char state = stateOf(QString::number(pid)).first;
    return state != 0 && state != 'Z';
}
QList<qint64> childrenOf(qint64 parent)
{
    QList<qint64> children;
    for (const QString &pid : QDir("/proc").entryList(QDir::Dirs))
        if (stateOf(pid).second == parent) children << pid.toLongLong();
    return children;
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
    // The PostgreSQL server's own user must reach its folder inside.
    QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther | QFile::ExeGroup);
    QProcess test;
    endWithThisTest(test);
    test.start(ZR730_FIXTURE_CHILD_PATH, {kind, dir.path()});
    QByteArray out;
    while (!out.contains('\n') && test.waitForReadyRead(60000)) out += test.readAllStandardOutput();
    QVERIFY2(out == "started\n", test.readAllStandardError().constData());
    // The fixture's process and, for the server, the processes it started in turn.
    QList<qint64> family;
    for (qint64 child : childrenOf(test.processId())) family << child << childrenOf(child);
    QVERIFY(!family.isEmpty());
    const auto tidy = qScopeGuard([&family] { // should the check fail, they still go
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
}

QTEST_GUILESS_MAIN(TestFixtures)
#include "test_fixtures.moc"
