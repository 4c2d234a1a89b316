#include "ContentGenerator.h"

#include "Course.h"
#include "ImageFile.h"
#include "Textures.h"
#include "Valley.h"

namespace VeltaTools {

void generateTextures(Output& output)
{
    for (const char* folder : {"textures", "textures/overlays", "textures/icons", "textures/text", "textures/particles"}) {
        output.makeDirectory(folder);
    }
    const Valley valley = carveValley();
    output.writeBytes("textures/heightmap.pcx",
                      encodePcx(Course::HEIGHTMAP_SIZE, Course::HEIGHTMAP_SIZE, valley.heightMap));
    writeTerrainTextures(output, valley);
    writeHudTextures(output);
    writeGameIcon(output);
}

bool generateContent(Output& output)
{
    generateTextures(output);
    generateModels(output);
    generateSounds(output);
    return output.isOk();
}

} // namespace VeltaTools
