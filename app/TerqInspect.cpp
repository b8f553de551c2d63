// terq-inspect: the command line of the inspection tool; everything else is in app/Inspect.cpp.
#include <iostream>

#include "app/Inspect.h"

int main(int argc, char** argv) { return InspectMain(argc, argv, std::cout, std::cerr); }
