#pragma once

#include "Output.h"

namespace VeltaTools {

/// The five ducks ("mallard", "rallye", "rallye2", "meister", "velta"): one
/// low-poly body shared by all, each with its own skin and accessories.
/// A duck faces +z, is about 1.3 long, and floats with its waterline a
/// little below its origin (y about -0.07).
void writeDucks(Output& output);

} // namespace VeltaTools
