#include "Command.h"

int main(int argc, char** argv)
{
    return tarnex::bank::runProgram(argc, argv);
}
