#pragma once
// Runs the programmer-board simulator (tools/boardsim) as a child process for a test, with
// its terminal linked to a path of the test's own; the process never outlives the object,
// nor a test that crashes or is killed.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

#include "support/child_process.h"

namespace zr730::testing {

class BoardSimulator {
public:
    // linkPath: where the terminal appears; extra: further simulator arguments.
    explicit BoardSimulator(QString linkPath, QStringList extra = {}) : m_link(std::move(linkPath)), m_extra(std::move(extra)) {}
    ~BoardSimulator() { kill(); }

    // Starts the simulator; true once it reports its terminal ready.
    bool start()
    {
        kill();
        m_process = std::make_unique<QProcess>();
        m_process->setProcessChannelMode(QProcess::SeparateChannels);
        endWithThisTest(*m_process);
        m_process->start(QStringLiteral(ZR730_BOARDSIM_PATH), QStringList{QStringLiteral("--link"), m_link} + m_extra);
        if (!m_process->waitForStarted(5000)) return false;
        QByteArray out;
        while (!out.contains("boardsim: ready")) {
            if (!m_process->waitForReadyRead(5000)) return false;
            out += m_process->readAllStandardOutput();
        }
        return true;
    }

    // Ends it as a pulled adapter would: at once, without a word.
    void kill()
    {
        if (!m_process) return;
        if (m_process->state() != QProcess::NotRunning) {
            m_process->kill();
            m_process->waitForFinished(5000);
        }
        m_process.reset();
        QFile::remove(m_link); // the link of a killed simulator stays behind
    }

    // Stops it politely (it saves its memory and removes its link).
    void stop()
    {
        if (!m_process) return;
        if (m_process->state() != QProcess::NotRunning) {
            m_process->terminate();
            m_process->waitForFinished(5000);
        }
        m_process.reset();
    }

    bool running() const { return m_process && m_process->state() == QProcess::Running; }
    qint64 processId() const { return m_process ? m_process->processId() : 0; }
    const QString &linkPath() const { return m_link; }

private:
    QString m_link;
    QStringList m_extra;
    std::unique_ptr<QProcess> m_process;
};

} // namespace zr730::testing
