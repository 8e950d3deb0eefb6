// Planted: the bank tool's reader from a target that links the data layer
// only. Must not compile.
#include <bank/BankCheck.h>

int PlantedToolInclude()
{
    return 0;
}
