// Replays fuzz inputs without libFuzzer: calls LLVMFuzzerTestOneInput once for every file of
// the folders (or files) named on the command line. Hidden files such as .gitkeep are skipped.
// A missing folder is an error, so a mistyped path cannot pass as "nothing to replay".
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace fs = std::filesystem;

namespace {

bool replay_file(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // An empty input still gets a valid pointer, as libFuzzer gives.
    static const std::uint8_t empty = 0;
    const auto *data = bytes.empty() ? &empty : reinterpret_cast<const std::uint8_t *>(bytes.data());
    LLVMFuzzerTestOneInput(data, bytes.size());
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        std::error_code ec;
        if (fs::is_regular_file(arg, ec)) {
            if (!replay_file(arg)) return 1;
            ++replayed;
            continue;
        }
        if (!fs::is_directory(arg, ec)) {
            std::fprintf(stderr, "no such folder or file: %s\n", argv[i]);
            return 1;
        }
        std::vector<fs::path> files;
        for (const auto &entry : fs::directory_iterator(arg))
            if (entry.is_regular_file() && entry.path().filename().string().front() != '.')
                files.push_back(entry.path());
        std::sort(files.begin(), files.end()); // a stable order makes a failure easy to find again
        for (const auto &f : files) {
            std::fprintf(stderr, "replaying %s\n", f.c_str());
            if (!replay_file(f)) return 1;
            ++replayed;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    return 0;
}
