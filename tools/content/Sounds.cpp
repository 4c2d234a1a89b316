#include "ContentGenerator.h"
namespace VeltaTools {
void generateSounds(Output&) {}
}
