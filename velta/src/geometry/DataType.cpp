#include "geometry/DataType.h"

namespace Velta {

namespace {

struct TypeInfo {
    unsigned int size;
    const char* name;
};

const TypeInfo TYPES[] = {
    {0, "None"},  {4, "Float"}, {8, "Double"},        {4, "Int"},
    {1, "Byte"},  {2, "Short"}, {1, "Bool"},          {1, "Unsigned Byte"},
    {2, "Unsigned Short"},      {4, "Unsigned Int"},
};

bool isKnown(DataType::Type type)
{
    return type >= DataType::NONE && type <= DataType::UNSIGNED_INT;
}

} // namespace

unsigned int DataType::getSize(Type type)
{
    return isKnown(type) ? TYPES[type].size : 0;
}

const char* DataType::getName(Type type)
{
    return isKnown(type) ? TYPES[type].name : "";
}

} // namespace Velta
