// A stand-in for a test that starts one fixture and is then killed: `fixture_child KIND FOLDER`
// starts a board simulator, a GPIB simulator or a PostgreSQL server (its files in FOLDER),
// prints "started" and waits to be killed.
#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <memory>

#include <unistd.h>

#include "support/board_simulator.h"
#include "support/gpib_simulator.h"
#include "support/postgres_server.h"

using namespace zr730::testing;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) return 2;
    const QString kind = args[1];
    const QString folder = args[2];
    bool started = false;
    // Never ended: the kill ends this process without running a destructor.
    if (kind == "board")
        started = (new BoardSimulator(QDir(folder).filePath("board")))->start();
    else if (kind == "gpib")
        started = (new GpibSimulator({"--port", "0"}))->start();
    else if (kind == "postgres")
        started = (new PostgresServer(folder))->start();
    if (!started) return 1;
    std::puts("started");
    std::fflush(stdout);
    for (;;) ::pause();
}
