// Planted: the data layer reaching up to the save slots in angle brackets,
// from a subfolder. Must not compile where only mireto_data is linked.
#include <saveload/SaveSlots.h>

int PlantedAngleInclude()
{
    return 0;
}
