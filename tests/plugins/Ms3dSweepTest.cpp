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
using Ms3dSweep = VeltaTest::Ms3dFixture;

/// Every variant of a valid model file (cut short at every length, every
/// byte changed, every count inflated, seeded scattered damage) either loads
/// into a geometry whose every index and material index points into its
/// lists, every vertex of which is read (so the sanitizer build sees any
/// read out of bounds), or is refused with exactly one line.
TEST_F(Ms3dSweep, DamagedModelsNeverReadOutOfBounds)
{
    textures().setTextureSourceNameMapper({});  // damaged image names are not looked up
    int loaded = 0;
    int refused = 0;
    double checksum = 0.0;
    const auto check = [&](const Bytes& bytes) {
        const auto model = SharedPtr<Velta::Ms3dObjectFactory>::dynamicCast(
            mModels.load(objects().getObjectNameMapper()->map("sweep.ms3d"), bytes));
        if (model.isNull()) {
            return ++refused, false;
        }
        ++loaded;
        const Velta::VertexData& vertices = *model->getGeometry()->getIndexedData(0);
        const auto* positions = static_cast<const float*>(vertices.getVertices());
        const auto* normals = static_cast<const float*>(vertices.getNormals());
        const auto* coordinates = static_cast<const float*>(vertices.getTexCoordinates(0));
        for (unsigned int i = 0; i < vertices.getCount() * 3; ++i) {
            checksum += positions[i] + normals[i] + coordinates[i * 2 / 3];
        }
        for (Velta::GeometryGroup* group : model->getGeometry()->getElementGroups()) {
            const unsigned int material = group->getMaterialIndex();
            EXPECT_TRUE(material == ~0u || material < model->getMaterials().getSize()) << material;
            const auto& list = dynamic_cast<Velta::IndexElementData&>(*group->getElementList(0).get(0)).getIndexList();
            for (unsigned int i = 0; i < list.getCount(); ++i) {
                EXPECT_LT(static_cast<const unsigned int*>(list.getIndexList())[i], vertices.getCount());
            }
        }
        return true;
    };

    std::mt19937 random(1234);
    for (const Bytes& file : {pyramid(3), pyramid(4)}) {
        const Ms3dLayout layout(file);
        for (size_t length = 0; length <= file.size(); ++length) {
            EXPECT_EQ(check(Bytes(file.begin(), file.begin() + static_cast<long>(length))), length >= layout.end)
                << "cut at " << length;
        }
        for (size_t at = 0; at < file.size(); ++at) {
            for (unsigned char flip : {0xFF, 0x01, 0x80}) {
                Bytes changed = file;
                changed[at] ^= flip;
                check(changed);
            }
        }
        for (size_t at : layout.counts()) {
            const unsigned int count = file[at] | (file[at + 1] << 8);
            for (unsigned int inflated : {count + 1, count * 2 + 1, 0x7FFFu, 0x8000u, 0xFFFFu}) {
                Bytes changed = file;
                changed[at] = static_cast<unsigned char>(inflated);
                changed[at + 1] = static_cast<unsigned char>(inflated >> 8);
                EXPECT_FALSE(check(changed)) << at << " counts " << inflated;
            }
        }
        for (int round = 0; round < 2000; ++round) {
            Bytes changed = file;
            for (unsigned int writes = 1 + random() % 8; writes > 0; --writes) {
                changed[random() % changed.size()] = static_cast<unsigned char>(random());
            }
            changed.resize(random() % 4 == 0 ? random() % changed.size() : changed.size());
            check(changed);
        }
    }
    EXPECT_GT(loaded, 3000) << "colours, normals and positions may be anything";
    EXPECT_GT(refused, 3000);
    EXPECT_EQ(static_cast<size_t>(refused), logged().size());
}
