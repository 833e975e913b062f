// Saves a table file and is killed at the given moment of the save: "during-write" or
// "before-replace" (anything else lets the save finish).
//   save_crash_child PATH STAGE
#include <QCoreApplication>

#include <csignal>
#include <cstring>
#include <unistd.h>

#include "transfer/table_file.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) return 2;
    zr730::PagerImage image;
    image.bytes().fill(0x5A);
    const std::string stage = argv[2];
    const auto result = zr730::save_table_file(QString::fromLocal8Bit(argv[1]), image, [&](zr730::SaveStage s) {
        if ((s == zr730::SaveStage::DuringWrite && stage == "during-write")
            || (s == zr730::SaveStage::BeforeReplace && stage == "before-replace"))
            kill(getpid(), SIGKILL);
    });
    return result.ok ? 0 : 1;
}
