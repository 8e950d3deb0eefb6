// A plain driver for a fuzz target: runs it once on each seed file (or each
// file of a seed folder). The ordinary test build links every target with it
// and runs it on its seeds, so a target that stops compiling, or a seed that
// breaks one of its properties, fails the suite and not only the fuzz run.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    std::vector<std::filesystem::path> seeds;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        if (!std::filesystem::is_directory(argv[i], error)) {
            seeds.emplace_back(argv[i]);
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(argv[i], error))
            if (entry.is_regular_file())
                seeds.push_back(entry.path());
        if (error) {
            std::fprintf(stderr, "cannot list %s: %s\n", argv[i], error.message().c_str());
            return 1;
        }
    }
    if (seeds.empty()) {
        std::fprintf(stderr, "no seed files given\n");
        return 1;
    }
    std::sort(seeds.begin(), seeds.end());
    for (const auto& seed : seeds) {
        std::ifstream in(seed, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "cannot read %s\n", seed.c_str());
            return 1;
        }
        std::printf("%s: %zu bytes\n", seed.filename().c_str(), bytes.size());
        std::fflush(stdout);
        // libFuzzer never passes a null pointer, even for an empty input.
        static const std::uint8_t none = 0;
        LLVMFuzzerTestOneInput(bytes.empty() ? &none : reinterpret_cast<const std::uint8_t*>(bytes.data()),
                               bytes.size());
    }
    std::printf("%zu seeds, no finding\n", seeds.size());
    return 0;
}
