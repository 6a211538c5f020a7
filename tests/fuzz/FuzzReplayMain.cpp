// Replays fuzz inputs through a target's LLVMFuzzerTestOneInput, the way libFuzzer would run
// one input: every file named on the command line, and every file under each folder named
// (recursively, in name order, so runs are repeatable). A folder that does not exist is
// skipped, since a target need not have reproducers. A crash, a sanitizer report or an
// abort ends the run with the failing file's name already printed.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// Optional, as in libFuzzer: a weak reference that stays null where the target has none.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

std::vector<std::filesystem::path> inputsUnder(const std::filesystem::path& root)
{
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_regular_file(root)) {
        files.push_back(root);
        return files;
    }
    if (!std::filesystem::is_directory(root))
        return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file())
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);

    size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& file : inputsUnder(argv[i])) {
            std::ifstream in(file, std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            std::fprintf(stderr, "replay %s (%zu bytes)\n", file.c_str(), bytes.size());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    if (!replayed) {
        std::fprintf(stderr, "no inputs found under the folders given\n");
        return 1;
    }
    std::printf("%zu inputs replayed\n", replayed);
    return 0;
}
