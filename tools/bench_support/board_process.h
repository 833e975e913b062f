#pragma once
// The programmer-board simulator as the benches run it: a child process whose terminal is
// linked at a path of the bench's choosing.
#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <cstdio>

namespace zr730::bench {

// Starts sim with args and waits until it says it is ready; false, said on standard error,
// when it does not.
inline bool start_board(QProcess &board, const QString &sim, const QStringList &args)
{
    board.start(sim, args);
    QByteArray out;
    while (!out.contains("boardsim: ready")) {
        if (!board.waitForReadyRead(5000)) {
            std::fprintf(stderr, "the simulator %s did not start\n", qPrintable(sim));
            return false;
        }
        out += board.readAllStandardOutput();
    }
    return true;
}

} // namespace zr730::bench
