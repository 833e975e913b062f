#pragma once
// A test's temporary folder with a fresh board path per case and that case's files beside it.
#include <QCoreApplication>
#include <QString>
#include <QTemporaryDir>

namespace zr730::testing {

class TestFiles {
public:
    // prefix: begins every board path's name ("pager", "board").
    explicit TestFiles(const char *prefix) : m_prefix(QString::fromLatin1(prefix)) {}

    // A board path of its own (the process id keeps parallel runs apart); starts the next case.
    QString boardPath()
    {
        return m_dir.filePath(QStringLiteral("%1-%2-%3").arg(m_prefix).arg(QCoreApplication::applicationPid()).arg(++m_serial));
    }
    // A file of the current case.
    QString file(const QString &name) const { return m_dir.filePath(QStringLiteral("%1-%2").arg(m_serial).arg(name)); }
    // The folder itself.
    QString path() const { return m_dir.path(); }
    // Starts the next case without a board path.
    void nextCase() { ++m_serial; }

private:
    QTemporaryDir m_dir;
    QString m_prefix;
    int m_serial = 0;
};

} // namespace zr730::testing
