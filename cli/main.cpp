#include "cli/slopecalc.h"

#include <iostream>

int main(int argc, char* argv[]) {
    return runSlopecalc(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout,
                        std::cerr);
}
