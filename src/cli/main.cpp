#include <cstdio>

int main() {
  std::fprintf(stderr, "seaclone-cli: not built yet\n");
  return 64;
}
