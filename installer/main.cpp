// Zelsetup: installs the product from its script and archives.
#include <cstdio>

int main() {
  std::printf("Zelsetup 5.0\n");
  return 0;
}
