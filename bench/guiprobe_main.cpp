// lx_guiprobe TITLE X Y RRGGBB PROGRAM [ARGS...]
// Starts a windowed program on $DISPLAY, waits for its window (title containing TITLE) to show
// colour RRGGBB at pixel X,Y, closes it as a window manager's close box would and waits for it
// to end. Prints "painted <ms> ms, processor <ms> ms, peak <kB> kB, status <n>"; exits 0 only when the window
// came up, painted and the program ended with status 0 after the close.
#include <cstdio>
#include <cstdlib>

#include "bench/probe.h"

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "usage: lx_guiprobe TITLE X Y RRGGBB PROGRAM [ARGS...]\n");
    return 2;
  }
  lx::bench::WindowCheck check;
  check.title = argv[1];
  check.x = std::atoi(argv[2]);
  check.y = std::atoi(argv[3]);
  check.rgb = static_cast<unsigned>(std::strtoul(argv[4], nullptr, 16));
  const lx::bench::RunFigures f = lx::bench::RunWindow({argv + 5, argv + argc}, check);
  if (!f.error.empty()) {
    std::fprintf(stderr, "%s: %s\n", argv[5], f.error.c_str());
    return 1;
  }
  std::printf("painted %.1f ms, processor %.1f ms, peak %ld kB, status %d\n", f.ms, f.cpuMs, f.maxRssKb,
              f.status);
  return 0;
}
