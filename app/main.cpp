// Zelsal: sales, invoicing and retail for small businesses.
#include "app/startup.h"

int main(int argc, char** argv) { return WinMain(argc, argv); }
