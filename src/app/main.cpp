// Entry point: hands the process's arguments and console streams to the run driver.
#include "app/run.h"

#include <iostream>

int main(int argc, char* argv[]) {
    return run(argc, argv, std::cin, std::cout);
}
