// Writes the inputs of bench/sea.sh into a folder: the route of 1000 waypoints and the grid
// of GEBCO's size under it.
#include "sea_fixtures.h"

#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: tavra_sea_bench_data FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    std::ofstream(folder + "/route.txt") << seaRouteText();
    const std::string error = writeGebcoSizeGrid(folder + "/gebco_size.tif");
    if (!error.empty()) {
        std::cerr << error << '\n';
        return 1;
    }
    return 0;
}
