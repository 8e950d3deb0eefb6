// Planted: a Qt widget in the rules below the window. Must not compile where
// only mireto_saveload (and so no Qt) is linked.
#include <QWidget>

int PlantedQtInclude()
{
    return 0;
}
