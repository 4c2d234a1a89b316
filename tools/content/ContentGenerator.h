#pragma once

#include "Output.h"

#include <string>

namespace VeltaTools {

/// Writes every data file the game reads into `root`: models/, sound/ and
/// textures/ with its subfolders. The same build writes the same bytes on
/// every run. Returns false (with the failed paths in the output) when a
/// file could not be written.
bool generateContent(Output& output);

/// Parts, for the preview and the tests.
void generateTextures(Output& output);
void generateModels(Output& output);
void generateSounds(Output& output);

} // namespace VeltaTools
