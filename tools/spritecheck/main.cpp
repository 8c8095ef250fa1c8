#include "SpriteCheckCommand.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return SpriteCheckCommand(std::cout, std::cerr).run(args);
}
