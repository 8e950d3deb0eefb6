// The control: the data layer and the layer below it, in both spellings,
// compile where mireto_data is linked.
#include <data/ToiBank.h>
#include "text/Unit2.h"

int AllowedInclude()
{
    return static_cast<int>(SplitText("a,b", ",").size());
}
