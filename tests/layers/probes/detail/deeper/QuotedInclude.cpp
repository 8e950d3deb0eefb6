// Planted: the drill reaching up to the window in quotes, two folders down.
// Must not compile where only mireto_drill is linked.
#include "window/Unit1.h"

int PlantedQuotedInclude()
{
    return 0;
}
