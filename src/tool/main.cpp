#include "tool/tool.h"

int main(int argc, char** argv) { return tessarin::tool::runTool(std::vector<std::string>(argv + 1, argv + argc)); }
