// Program entry: one copy at a time, the main window, its message loop.
#include "app/Program.h"

int main(int argc, char** argv)
{
    return RunProgram(argc, argv);
}
