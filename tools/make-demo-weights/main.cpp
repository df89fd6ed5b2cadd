// make-demo-weights [path]: writes the demonstration weight file (default
// ./fv.bin).
#include <cstdio>
#include <exception>

#include "tools/make-demo-weights/demo_weights.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::fprintf(stderr, "usage: make-demo-weights [output path]\n");
    return 2;
  }
  try {
    fv::WriteDemoWeights(argc == 2 ? argv[1] : "./fv.bin");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-demo-weights: %s\n", e.what());
    return 1;
  }
  return 0;
}
