#include "level/Level.h"

namespace Ripplejet {

Level::Level() : Velta::InputProcessor(-1) {}

Level::~Level() = default;

void Level::update(long long) {}

void Level::raceOver(bool) {}

} // namespace Ripplejet
