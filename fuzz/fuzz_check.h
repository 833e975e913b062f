#pragma once
// Shared by the fuzz targets: a failed invariant aborts, so libFuzzer keeps the input as a
// crash reproducer and the replay test fails on it.
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #cond);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace zr730::fuzz {

// A private folder for the files a target writes, made once and removed at exit.
inline const QString &scratch_dir()
{
    static QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder: %s\n", qPrintable(dir.errorString()));
        std::abort();
    }
    static const QString path = dir.path();
    return path;
}

} // namespace zr730::fuzz
