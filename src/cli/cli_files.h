#pragma once
// Table files as the command-line companion reads and describes them.
#include <QJsonObject>
#include <QString>

#include <optional>

#include "image/image.h"

namespace zr730 {
struct ProgramState;
}

namespace zr730::cli {

// The installation settings as the window reads them (problems said on stderr); the program
// and configuration folders of the state are set first.
void load_installation(ProgramState &state);

// The image of a table file; on failure one line on stderr and status set to the exit status.
std::optional<PagerImage> load_table(const QString &path, int &status);
// The configuration in words: band, frequency, spacing, capcodes with their function bits, and
// every named field of the catalogue.
QJsonObject describe(const PagerImage &image);

} // namespace zr730::cli
