#include "data/Nanwido.h"

#include "text/Unit2.h"

NanwidoValue NanwidoFromFile(const std::string& bytes)
{
    // A word reads as 0 but is no difficulty.
    std::size_t i = bytes.find_first_not_of(" \t");
    if (i != std::string::npos && (bytes[i] == '+' || bytes[i] == '-'))
        ++i;
    if (i >= bytes.size() || bytes[i] < '0' || bytes[i] > '9')
        return kNanwidoF;
    return NanwidoOrF(TextToInt(bytes));
}

std::string NanwidoFileText(NanwidoValue nanwido)
{
    return IntToText(nanwido);
}
