#pragma once
// A started main window that reaches its board through a simulator's terminal, and a helper
// that writes a table file the simulator or the window can load.
#include <QFile>
#include <QStringList>
#include <QTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "editor/dialogs/transfer_dialog.h"
#include "editor/main_window.h"
#include "image/image.h"
#include "support/program_state.h"
#include "support/recording_messages.h"

namespace zr730::testing {

struct SimulatorWindow {
    // boardPath: the simulator's terminal, the only port counted as an adapter; traceFile: the
    // Trace/File setting.
    explicit SimulatorWindow(const QString &boardPath, const QString &traceFile = {}) : state(messages)
    {
        state.settings.adapterIds.clear(); // only the simulator counts
        state.settings.extraPorts = {boardPath};
        state.settings.traceFile = traceFile;
        state.application_folder = dir.path();
        form = std::make_unique<MainWindow>(state);
        form->show();
        form->startUp();
        startupMessages = messages.texts();
    }
    QTemporaryDir dir;
    RecordingMessages messages;
    ProgramState state;
    std::unique_ptr<MainWindow> form;
    QStringList startupMessages; // what the start-up said
};

// The started window with nothing said yet after its start-up.
struct QuietSimulatorWindow : SimulatorWindow {
    explicit QuietSimulatorWindow(const QString &boardPath) : SimulatorWindow(boardPath) { messages.clear(); }
};

// The first 1024 bytes of a table file (zeros where it is short or missing).
inline PagerImage readTable(const QString &path)
{
    PagerImage image;
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray b = f.read(kImageSize);
        std::copy(b.cbegin(), b.cend(), image.bytes().begin());
    }
    return image;
}

// Writes the image as a 1024-byte table file.
inline void write_table_file(const QString &path, const PagerImage &image)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(reinterpret_cast<const char *>(image.bytes().data()), kImageSize);
}

// Presses the series dialog's Write `presses` times, each when it is idle, then Exit.
inline void drive_series(MainWindow &window, int presses, int *done)
{
    auto *driver = new QTimer(&window);
    QObject::connect(driver, &QTimer::timeout, driver, [&window, presses, done, driver] {
        auto *d = window.findChild<TransferDialog *>();
        if (!d || !d->isVisible() || !d->cmdWrite->isEnabled()) return;
        if (*done < presses) {
            ++*done;
            d->cmdWrite->click();
        } else {
            d->cmdExit->click();
            driver->deleteLater();
        }
    });
    driver->start(0);
}

} // namespace zr730::testing
