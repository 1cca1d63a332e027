// Replays saved fuzz inputs through a fuzz target without libFuzzer, so the test suite keeps
// every input that once failed (and the seed corpus) passing under the sanitizers.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, size_t nSize);

int main(int argc, char** argv)
{
    int nReplayed = 0;
    for (int i = 1; i < argc; ++i)
    {
        std::error_code error;
        if (!std::filesystem::exists(argv[i]))
            continue; // no input of this kind has failed yet
        for (const auto& entry : std::filesystem::directory_iterator(argv[i], error))
        {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
            ++nReplayed;
        }
        if (error)
        {
            std::fprintf(stderr, "%s: %s\n", argv[i], error.message().c_str());
            return 1;
        }
    }
    std::printf("replayed %d input(s)\n", nReplayed);
    return nReplayed > 0 ? 0 : 1;
}
