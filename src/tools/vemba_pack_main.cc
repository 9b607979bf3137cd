// vemba_pack: tools for language pack authors.
#include <cstdio>

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  std::printf("usage: vemba_pack COMMAND ...\n");
  return 2;
}
