#include "plugins/Ms3dFixture.h"

#include "geometry/GeometryData.h"
#include "geometry/GeometryGroup.h"
#include "geometry/IndexElementData.h"
#include "geometry/VertexData.h"
#include "plugins/loader/ms3d/Ms3dObjectFactory.h"

#include <gtest/gtest.h>

#include <random>

using CppLib::SharedPtr;
using VeltaTest::Ms3dLayout;
using VeltaTest::Ms3dSamples;

/// Every variant of a valid model file either loads into a geometry whose
/// every index and material index points into its lists (each vertex is
/// read, so the sanitizer build sees any read out of bounds) or is refused
/// with exactly one line.
class Ms3dSweep : public VeltaTest::Ms3dFixture {
protected:
    void SetUp() override
    {
        Ms3dFixture::SetUp();
        // Damaged texture names are not looked up: the image loader's lines
        // would be mixed with the model loader's.
        textures().setTextureSourceNameMapper(SharedPtr<Velta::NameMapper>());
    }

    /// True when the variant loaded.
    bool check(const Bytes& bytes)
    {
        const SharedPtr<Velta::ObjectFactory> factory = mLoader.load(modelFile("sweep.ms3d"), bytes);
        const auto model = SharedPtr<Velta::Ms3dObjectFactory>::dynamicCast(factory);
        if (model.isNull()) {
            ++mRefused;
            return false;
        }
        ++mLoaded;
        const Velta::VertexData& vertices = *model->getGeometry()->getIndexedData(0);
        const unsigned int count = vertices.getCount();
        const auto* positions = static_cast<const float*>(vertices.getVertices());
        const auto* normals = static_cast<const float*>(vertices.getNormals());
        const auto* coordinates = static_cast<const float*>(vertices.getTexCoordinates(0));
        for (unsigned int i = 0; i < count * 3; ++i) {
            mChecksum += positions[i] + normals[i] + coordinates[i * 2 / 3];
        }
        for (Velta::GeometryGroup* group : model->getGeometry()->getElementGroups()) {
            const unsigned int material = group->getMaterialIndex();
            EXPECT_TRUE(material == ~0u || material < model->getMaterials().getSize()) << material;
            for (Velta::GeometryElement* element : group->getElementList(0)) {
                const Velta::IndexData& list = dynamic_cast<Velta::IndexElementData&>(*element).getIndexList();
                const auto* indices = static_cast<const unsigned int*>(list.getIndexList());
                for (unsigned int i = 0; i < list.getCount(); ++i) {
                    EXPECT_LT(indices[i], count);
                }
            }
        }
        return true;
    }

    void expectOneLinePerRefusal() { EXPECT_EQ(static_cast<size_t>(mRefused), logged().size()); }

    const Bytes mFiles[2] = {Ms3dSamples::pyramid(3).toBytes(), Ms3dSamples::pyramid(4).toBytes()};
    int mLoaded = 0;
    int mRefused = 0;
    double mChecksum = 0.0;
};

TEST_F(Ms3dSweep, FilesCutShortLoadExactlyWhenTheyReachTheEndOfTheMaterials)
{
    for (const Bytes& file : mFiles) {
        const Ms3dLayout layout(file);
        for (size_t length = 0; length <= file.size(); ++length) {
            SCOPED_TRACE(length);
            EXPECT_EQ(check(Bytes(file.begin(), file.begin() + static_cast<long>(length))), length >= layout.end);
        }
    }
    expectOneLinePerRefusal();
}

TEST_F(Ms3dSweep, FilesWithAnyByteChangedNeverReadOutOfBounds)
{
    for (const Bytes& file : mFiles) {
        for (size_t at = 0; at < file.size(); ++at) {
            for (unsigned char flip : {0xFF, 0x01, 0x80}) {
                SCOPED_TRACE(at);
                Bytes changed = file;
                changed[at] ^= flip;
                check(changed);
            }
        }
    }
    EXPECT_GT(mLoaded, 3000) << "colours, normals and positions may be anything";
    EXPECT_GT(mRefused, 100);
    expectOneLinePerRefusal();
}

TEST_F(Ms3dSweep, FilesWithInflatedCountsOrScatteredDamageNeverReadOutOfBounds)
{
    for (const Bytes& file : mFiles) {
        const Ms3dLayout layout(file);
        for (size_t at : layout.counts()) {
            const unsigned int count = file[at] | (file[at + 1] << 8);
            for (unsigned int inflated : {count + 1, count * 2 + 1, 0x7FFFu, 0x8000u, 0xFFFFu}) {
                SCOPED_TRACE(std::to_string(at) + " counts " + std::to_string(inflated));
                Bytes changed = file;
                changed[at] = static_cast<unsigned char>(inflated & 0xFF);
                changed[at + 1] = static_cast<unsigned char>(inflated >> 8);
                check(changed);
            }
        }
        std::mt19937 random(1234);
        for (int round = 0; round < 2000; ++round) {
            SCOPED_TRACE(round);
            Bytes changed = file;
            const int writes = 1 + static_cast<int>(random() % 8);
            for (int i = 0; i < writes; ++i) {
                changed[random() % changed.size()] = static_cast<unsigned char>(random());
            }
            if (random() % 4 == 0) {
                changed.resize(random() % changed.size());
            }
            check(changed);
        }
    }
    EXPECT_GT(mLoaded, 100);
    EXPECT_GT(mRefused, 100);
    expectOneLinePerRefusal();
}
