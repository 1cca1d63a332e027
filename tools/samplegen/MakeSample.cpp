// orvanta-make-sample OUT.csv [BARS] [SEED]: writes a random-walk K-line file.
#include "tools/samplegen/RandomWalk.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 4)
    {
        std::fprintf(stderr, "usage: orvanta-make-sample OUT.csv [BARS=500] [SEED=20150105]\n");
        return 2;
    }
    const long nBars = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 500;
    const unsigned long long nSeed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 20150105ULL;
    if (nBars <= 0)
    {
        std::fprintf(stderr, "orvanta-make-sample: BARS must be a positive number\n");
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    WriteRandomWalkKLines(out, nBars, nSeed);
    out.close();
    if (!out)
    {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
