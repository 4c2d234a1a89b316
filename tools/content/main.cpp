// Generates the game's data directories (models, sound, textures) into the
// directory given as the only argument and lists what it wrote.
#include "ContentGenerator.h"

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <data directory>\n", argv[0]);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    VeltaTools::Output output(argv[1]);
    const bool ok = VeltaTools::generateContent(output);
    const auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::size_t total = 0;
    for (const VeltaTools::Output::Entry& entry : output.getEntries()) {
        total += entry.size;
    }
    std::printf("content: %zu files, %zu bytes in %.2f s\n", output.getEntries().size(), total, elapsed);
    for (const std::string& failure : output.getFailures()) {
        std::fprintf(stderr, "content: could not write %s\n", failure.c_str());
    }
    return ok ? 0 : 1;
}
