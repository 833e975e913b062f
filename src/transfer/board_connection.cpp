#include "transfer/board_connection.h"

#include "support/program_state.h"

namespace zr730 {

namespace {

std::unique_ptr<TracingSerialLibrary> make_trace(SerialLibrary &ports, const QString &path)
{
    if (path.isEmpty()) return nullptr;
    return std::make_unique<TracingSerialLibrary>(ports, path);
}

} // namespace

BoardConnection::BoardConnection(ProgramState &state, const QString &traceFile)
    : m_view(state.ports, state.settings),
      m_registry(m_view),
      m_ports(state.ports),
      m_trace(make_trace(m_ports, traceFile)),
      m_link(state, m_registry, m_trace ? static_cast<SerialLibrary &>(*m_trace) : m_ports)
{}

QString BoardConnection::traceProblem() const
{
    if (!m_trace || m_trace->ok()) return {};
    return m_trace->errorString();
}

} // namespace zr730
