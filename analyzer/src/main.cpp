// quarl: static analyzer for Fortran programs.
#include <iostream>
#include <string>
#include <vector>

#include "driver.hpp"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return quarl::run(args, std::cout);
}
