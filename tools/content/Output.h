#pragma once

#include "Image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace VeltaTools {

/// Writes the generated files under one data root and remembers what it wrote.
/// Paths are relative to the root with '/' separators ("textures/overlays/go.png").
class Output {
public:
    struct Entry {
        std::string path;
        std::size_t size = 0;
    };

    explicit Output(std::string root);

    /// Creates the directory (and its parents) under the root.
    bool makeDirectory(const std::string& relative);
    bool writePng(const std::string& relative, const Image& image, bool alpha = true);
    bool writeBytes(const std::string& relative, const std::vector<std::uint8_t>& bytes);

    const std::string& getRoot() const { return mRoot; }
    std::string fullPath(const std::string& relative) const;
    const std::vector<Entry>& getEntries() const { return mEntries; }
    /// False once any write has failed.
    bool isOk() const { return mOk; }
    /// The paths of the files that could not be written.
    const std::vector<std::string>& getFailures() const { return mFailures; }

private:
    void record(const std::string& relative, bool written);

    std::string mRoot;
    std::vector<Entry> mEntries;
    std::vector<std::string> mFailures;
    bool mOk = true;
};

} // namespace VeltaTools
