// Runs a fuzz target over files without libFuzzer: each argument is a file,
// or a folder whose files are all run. Used to replay crash files and, in
// every native test run, to run each target over its regression folder (the
// PNG decoder's also over the PNG test suite).
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int runFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
        return 1;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int failures = 0, files = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
                // Notes kept beside the inputs are not inputs.
                if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
                failures += runFile(entry.path());
                ++files;
            }
        } else {
            failures += runFile(path);
            ++files;
        }
    }
    std::printf("%d files run\n", files);
    return failures == 0 && files > 0 ? 0 : 1;
}
