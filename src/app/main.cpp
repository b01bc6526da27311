// Entry point: hands the process's arguments and console streams to the run driver.
#include <iostream>

#include "app/run.h"

int main(int argc, char* argv[]) { return run(argc, argv, std::cin, std::cout); }
