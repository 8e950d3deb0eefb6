#pragma once
// Planted: a header of the platform layer that no source includes, reaching
// up into the text layer. Compiled on its own in its layer, it must fail.
#include "text/SjisCodec.h"

inline int PlantedLoneHeader()
{
    return 0;
}
