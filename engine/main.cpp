#include <cstdio>
#include <cstdlib>
#include "engine/perft.h"
#include "engine/start_position.h"
using namespace fv::engine;
int main(int argc, char** argv) {
  Board b; b.Set(StartPosition(), fv::Sente);
  printf("%llu\n", (unsigned long long)Perft(b, atoi(argv[1])));
}
