#pragma once
// Runs the GPIB-controller simulator (tools/gpibsim) as a child process for a test; the
// process never outlives the object, nor a test that crashes or is killed.
#include <QProcess>
#include <QStringList>

#include <memory>

#include "support/child_process.h"

namespace zr730::testing {

class GpibSimulator {
public:
    explicit GpibSimulator(QStringList args = {}) : m_args(std::move(args)) {}
    ~GpibSimulator()
    {
        if (m_process && m_process->state() != QProcess::NotRunning) {
            m_process->kill();
            m_process->waitForFinished(5000);
        }
    }
    // Starts it; true once it reports where it listens (port() or terminal()).
    bool start()
    {
        m_process = std::make_unique<QProcess>();
        endWithThisTest(*m_process);
        m_process->start(QStringLiteral(ZR730_GPIBSIM_PATH), m_args);
        if (!m_process->waitForStarted(5000)) return false;
        QByteArray out;
        while (!out.contains('\n')) {
            if (!m_process->waitForReadyRead(5000)) return false;
            out += m_process->readAllStandardOutput();
        }
        const QByteArray where = out.left(out.indexOf('\n')).mid(int(sizeof("gpibsim: ready")));
        m_port = where.startsWith("127.0.0.1:") ? where.mid(10).toInt() : 0;
        return out.startsWith("gpibsim: ready");
    }
    int port() const { return m_port; }
    qint64 processId() const { return m_process ? m_process->processId() : 0; }

private:
    QStringList m_args;
    std::unique_ptr<QProcess> m_process;
    int m_port = 0;
};

} // namespace zr730::testing
