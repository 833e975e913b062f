// Fuzzes the table-file loader with arbitrary file contents: the status follows the model
// field alone, the first 1024 bytes come back exactly, and a short file reads as zeros after
// its end.
#include <QFile>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz_check.h"
#include "transfer/table_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using zr730::TableReadResult;
    static const QString path = zr730::fuzz::scratch_dir() + QStringLiteral("/input.tbl");

    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
    }

    const TableReadResult r = zr730::read_table_file(path);
    FUZZ_CHECK(r.status != TableReadResult::Status::CannotOpen);

    const std::size_t kept = std::min<std::size_t>(size, zr730::kImageSize);
    FUZZ_CHECK(kept == 0 || std::memcmp(r.bytes.data(), data, kept) == 0);
    FUZZ_CHECK(std::all_of(r.bytes.begin() + kept, r.bytes.end(), [](std::uint8_t b) { return b == 0; }));

    const bool modelInFile = size >= std::size_t(zr730::kTableModelOffset + zr730::kTableModelLength)
        && std::memcmp(data + zr730::kTableModelOffset, zr730::kTableModel, zr730::kTableModelLength) == 0;
    FUZZ_CHECK(r.status == (modelInFile ? TableReadResult::Status::Ok : TableReadResult::Status::WrongModel));
    return 0;
}
