// tervan-sdiff: single differences for Tervan from the RINEX observation files of a
// BASE and a ROVER station.
#include <string>
#include <vector>

#include "sdiff/Tool.h"

int main(int argc, char** argv) {
  return SdRun(std::vector<std::string>(argv + 1, argv + argc));
}
