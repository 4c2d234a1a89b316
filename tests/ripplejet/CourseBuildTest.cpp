// The course as the race builds it from its tables, without a window.
#include "RaceFixture.h"

#include "course/Course.h"
#include "level/Models.h"

#include "core/VeltaCore.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryManager.h"
#include "geometry/GeometryGroup.h"
#include "geometry/IndexDataSet.h"
#include "geometry/IndexElement.h"
#include "geometry/VertexData.h"
#include "resource/Material.h"
#include "resource/ResourceManager.h"
#include "scene/ObjectNode.h"
#include "scene/Branch.h"
#include "scene/SceneGraph.h"
#include "scene/TransformationNode.h"
#include "terrain/Terrain.h"
#include "terrain/TerrainTile.h"
#include "water/Water.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using RipplejetTest::RaceFixture;
namespace Course = Ripplejet::Course;

/// The branch "level" that holds the course itself.
Velta::Group& levelBranch(Ripplejet::Timerace& race)
{
    Velta::Branch& root = *race.getSceneGraph()->getRoot();
    for (int i = 0; i < root.getAttachedChildCount(); ++i) {
        Velta::Node* child = root.getAttachedChild(i);
        if (child->getName() == "level" && child->asGroup()) {
            return *child->asGroup();
        }
    }
    ADD_FAILURE() << "no level branch";
    return root;
}

void forEachBelow(Velta::Group& group, const std::function<void(Velta::Node&)>& visit)
{
    for (int i = 0; i < group.getAttachedChildCount(); ++i) {
        Velta::Node& child = *group.getAttachedChild(i);
        visit(child);
        if (Velta::Group* inner = child.asGroup()) {
            forEachBelow(*inner, visit);
        }
    }
}

/// The places (translations) of the course's transformation nodes.
std::vector<Course::Point3> placements(Velta::Group& level)
{
    std::vector<Course::Point3> places;
    forEachBelow(level, [&places](Velta::Node& node) {
        if (const Velta::Transformation* place = node.asTransformation()) {
            const CppLib::Matrix<float, 4>& m = place->getLocalTransformation();
            places.push_back({m.get(0, 3), m.get(1, 3), m.get(2, 3)});
        }
    });
    return places;
}

int linesNaming(const std::string& log, const std::string& name)
{
    int count = 0;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        count += line.find(name) != std::string::npos ? 1 : 0;
    }
    return count;
}

Course::Point3 centre(const Course::CrossSection& section)
{
    return {(section.left.x + section.right.x) / 2, 0, (section.left.z + section.right.z) / 2};
}

class CourseBuild : public RaceFixture {};

TEST_F(CourseBuild, IsBuiltFromTheGeneratedDataWithoutALogLine)
{
    EXPECT_EQ(getLoadLog(), "");
    // Two lights, the terrain, fourteen models, twelve stones and the river.
    EXPECT_EQ(levelBranch(*race).getAttachedChildCount(), 30);
    const Velta::Terrain::Tile& tile = *race->getTerrain()->getTile(0, 0);
    EXPECT_EQ(tile.getTextureLayerCount(), 2u);
}

TEST_F(CourseBuild, SharesTheCornersOfEveryModelItDraws)
{
    // The files give each triangle corners of their own; the renderer would
    // shade each of them.
    Velta::GeometryManager& geometries = Velta::VeltaCore::getSingleton().getResourceManager().getGeometryManager();
    for (const char* model : {"sky.ms3d", "stone1.ms3d", "mallard.ms3d", "meister.ms3d", "banana.ms3d", "oxygen.ms3d"}) {
        SCOPED_TRACE(model);
        auto* geometry = dynamic_cast<Velta::GeometryData*>(geometries.getGeometry(model).get());
        ASSERT_NE(geometry, nullptr);
        unsigned int corners = 0;
        for (Velta::GeometryGroup* group : geometry->getElementGroups()) {
            corners += dynamic_cast<Velta::IndexElement&>(*group->getElementList(0).get(0)).getIndexList().getCount();
        }
        EXPECT_LT(geometry->getIndexedData(0)->getCount() * 2, corners);
    }
}

TEST_F(CourseBuild, LeavesOutTheBackFacesOfTheClosedModelsOnly)
{
    // The ducks, the items and the stones are closed: a software renderer
    // need not set up their backs. The sky is seen from inside, and the
    // banners and the finish house have open or inside-out parts.
    const auto culls = [](const std::string& file) {
        std::unique_ptr<Velta::ObjectNode> model(Ripplejet::Models::create(file));
        const CppLib::SharedPtr<Velta::Material> material =
            model ? model->getDefaultMaterial(0) : CppLib::SharedPtr<Velta::Material>();
        EXPECT_FALSE(material.isNull()) << file;
        return !material.isNull() && material->cullBackFaces();
    };
    for (const char* closed : {"mallard.ms3d", "meister.ms3d", "rallye.ms3d", "velta.ms3d", "banana.ms3d",
                               "medicare.ms3d", "oxygen.ms3d", "pulso.ms3d", "stone1.ms3d"}) {
        EXPECT_TRUE(culls(closed)) << closed;
    }
    for (const char* open : {"sky.ms3d", "banner.ms3d", "finishbanner.ms3d", "finishhouse.ms3d"}) {
        EXPECT_FALSE(culls(open)) << open;
    }
}

TEST_F(CourseBuild, LetsTheRiverFlowFromEachSectionTowardTheNextOrBackWhereTheFlowIsNegative)
{
    const Velta::Water& water = *race->getWater();
    const std::vector<Course::CrossSection>& sections = Course::crossSections();
    ASSERT_EQ(sections.size(), 58u);
    ASSERT_EQ(water.getQuadCount(), 57u);
    for (unsigned int i = 0; i < sections.size(); ++i) {
        SCOPED_TRACE("cross section " + std::to_string(i + 1));
        const Velta::Water::LineSegment& line =
            i == 0 ? *water.getFirstLine() : static_cast<const Velta::Water::LineSegment&>(*water.getQuad(i - 1));
        if (i > 0) {
            EXPECT_TRUE(water.getQuad(i - 1)->isValid());
        }
        // Down the river: toward the next section (the last: away from the one before).
        const Course::Point3 from = centre(sections[i + 1 < sections.size() ? i : i - 1]);
        const Course::Point3 to = centre(sections[i + 1 < sections.size() ? i + 1 : i]);
        const CppLib::TVector<float, 3>& velocity = line.getVelocity();
        const float along = velocity.x() * (to.x - from.x) + velocity.z() * (to.z - from.z);
        const float flow = sections[i].flow;
        if (flow > 0) {
            EXPECT_GT(along, 0.0f);
        } else if (flow < 0) {
            EXPECT_LT(along, 0.0f);
        } else {
            EXPECT_EQ(velocity.length(), 0.0f);
        }
        EXPECT_NEAR(velocity.length(), std::fabs(flow), 1e-4f);
    }
    // So a point in the middle of the race's first stretch is carried on.
    const Course::Point3 start = centre(sections[2]);
    const Course::Point3 next = centre(sections[3]);
    const Velta::Point middle((start.x + next.x) / 2, sections[2].left.y - 0.5f, (start.z + next.z) / 2);
    const CppLib::TVector<float, 3> flow = water.getVelocity(middle);
    EXPECT_GT(flow.x() * (next.x - start.x) + flow.z() * (next.z - start.z), 0.0f);
}

TEST_F(CourseBuild, MarksOnlyTheStartAndTheFinishBannersWithAType)
{
    std::vector<std::string> types;
    forEachBelow(levelBranch(*race), [&types](Velta::Node& node) {
        if (node.hasProperty("type")) {
            types.push_back(node.getProperty("type"));
            EXPECT_EQ(node.getNodeType(), Velta::Node::OBJECT);
        }
    });
    EXPECT_EQ(types, (std::vector<std::string>{"start", "finish"}));
}

TEST_F(CourseBuild, StandsEveryStoneOnTheGroundAtItsPlace)
{
    const std::vector<Course::Point3> places = placements(levelBranch(*race));
    ASSERT_EQ(Course::stones().size(), 12u);
    for (const Course::Stone& stone : Course::stones()) {
        const auto placed = std::find_if(places.begin(), places.end(), [&stone](const Course::Point3& p) {
            return p.x == stone.x && p.z == stone.z;
        });
        ASSERT_NE(placed, places.end()) << stone.x << ", " << stone.z;
        EXPECT_EQ(placed->y, -race->getTerrain()->getDistance(Velta::Point(stone.x, 0.0f, stone.z)));
    }
}

/// The race with data missing: a model, a ground layer's image and the
/// height map.
class CourseWithMissingData : public RaceFixture {
protected:
    std::vector<std::string> missingFiles() const override
    {
        return {"models/bumper.ms3d", "textures/grasscolor.png", "textures/heightmap.pcx"};
    }
};

TEST_F(CourseWithMissingData, IsBuiltWithoutThemWithOneLineEachAndTheRaceRuns)
{
    // One line for each image; the model's loader and the object manager
    // say one each, once for all five bumpers.
    const std::string& log = getLoadLog();
    EXPECT_EQ(linesNaming(log, "heightmap.pcx"), 1) << log;
    EXPECT_EQ(linesNaming(log, "grasscolor.png"), 1) << log;
    EXPECT_EQ(linesNaming(log, "bumper.ms3d"), 2) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4) << log;
    EXPECT_EQ(levelBranch(*race).getAttachedChildCount(), 30 - 5) << "five bumpers fewer";
    EXPECT_EQ(race->getTerrain()->getTile(0, 0)->getTextureLayerCount(), 1u) << "the river's layer only";

    startRace();
    driveWithAutopilot(16, 5000);
    EXPECT_FALSE(race->isOver());
}

} // namespace
