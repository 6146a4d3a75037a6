// Zelsal: sales, invoicing and retail for small businesses.
#include <cstdio>

int main() {
  std::printf("Zelsal 5.0\n");
  return 0;
}
