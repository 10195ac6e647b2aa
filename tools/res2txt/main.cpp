// tervan-res2txt: the binary residual file of a Tervan run as text for plotting.
#include <iostream>
#include <string>
#include <vector>

#include "res2txt/Res2TxtTool.h"

int main(int argc, char** argv) {
  return RunRes2Txt(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
