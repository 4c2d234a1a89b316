#pragma once

#include "cpplib/CowMemPtr.h"
#include "cpplib/SharedPtr.h"
#include "resource/TextureData.h"

#include <cstring>
#include <vector>

namespace ResourceTest {

using Bytes = std::vector<unsigned char>;

inline CppLib::CowMemPtr<void> block(const Bytes& bytes)
{
    CppLib::CowMemPtr<void> data;
    data.alloc(static_cast<unsigned int>(bytes.size()));
    if (!bytes.empty()) {
        std::memcpy(data.get(), bytes.data(), bytes.size());
    }
    return data;
}

/// A w × h image of unsigned bytes holding `bytes`.
inline CppLib::SharedPtr<Velta::TextureSource> image(unsigned int w, unsigned int h, Velta::Color::Format format,
                                                     const Bytes& bytes)
{
    return CppLib::SharedPtr<Velta::TextureSource>(new Velta::TextureData(
        Velta::TextureInfo(w, h, 1, format, Velta::DataType::UNSIGNED_BYTE), block(bytes)));
}

} // namespace ResourceTest
