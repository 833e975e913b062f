#pragma once
// Table files on disk: the raw 1024-byte pager memory image, no header, no trailer.
#include <QString>

#include <functional>

#include "image/image.h"

namespace zr730 {

// File offsets of the model field (image 0x3E1 … 0x3E5) and the text it must hold.
inline constexpr int kTableModelOffset = 993;
inline constexpr int kTableModelLength = 5;
inline constexpr const char *kTableModel = "ZR730";

// True when bytes 993 … 997 are exactly "ZR730" (case-sensitive).
bool has_table_model(const ImageBytes &bytes);

struct TableReadResult {
    enum class Status { Ok, CannotOpen, WrongModel };
    Status status = Status::CannotOpen;
    // The first 1024 bytes of the file; missing bytes of a short file are 0.
    ImageBytes bytes{};
};

// Reads a table file. Bytes beyond 1024 are ignored.
TableReadResult read_table_file(const QString &path);

struct TableSaveResult {
    bool ok = false;
    QString reason; // why the save could not complete, in plain words; empty on success
};

// Writes the image as the first 1024 bytes of the file at path. An existing longer file keeps
// its bytes beyond 1024. The new content goes to a temporary file in the same folder that then
// replaces the old file, so a failed save leaves the old file exactly as it was.
// probe is called at two moments of the save (tests stop the process there to show that an
// interrupted save leaves the old file whole).
enum class SaveStage { DuringWrite, BeforeReplace };
TableSaveResult save_table_file(const QString &path, const PagerImage &image,
                                const std::function<void(SaveStage)> &probe = {});

} // namespace zr730
