// tervan-sim: writes a simulated GNSS dataset with a known truth.
#include <iostream>
#include <string>
#include <vector>

#include "sim/Tool.h"

int main(int argc, char** argv) {
  return sim::RunSimTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
