#pragma once
// Table files as the command-line companion reads and describes them.
#include <QJsonObject>
#include <QString>

#include <optional>

#include "image/image.h"

namespace zr730::cli {

// The image of a table file; on failure one line on stderr and status set to the exit status.
std::optional<PagerImage> load_table(const QString &path, int &status);
// The configuration in words: band, frequency, spacing, capcodes with their function bits, and
// every named field of the catalogue.
QJsonObject describe(const PagerImage &image);

} // namespace zr730::cli
