#pragma once
// Starting programs and watching them: wall time, peak memory and exit status of a child
// process, and for a windowed program the moment its window first shows painted pixels on the
// X display (found by its title), after which the window is closed as a window manager's
// close box would.
#include <optional>
#include <string>
#include <vector>

namespace lx::bench {

struct RunFigures {
  double ms = 0;      // start to exit, or for a window start to first painted pixels
  long maxRssKb = 0;  // peak resident memory of the child
  double cpuMs = 0;   // processor time of the child (user and system), start to end
  int status = -1;    // exit status, or -1 when it did not end normally
  std::string error;  // why the run failed, empty when it did not
};

// Runs the program to its end with standard output and error discarded.
RunFigures RunProgram(const std::vector<std::string>& argv);

struct WindowCheck {
  std::string title;        // a top-level window whose title contains this text
  int x = 5, y = 5;         // a pixel in that window that painting turns ...
  unsigned rgb = 0xFFFFFF;  // ... into this colour
  double timeoutS = 20;
};

// Starts the program on $DISPLAY, waits until the window is mapped and the pixel shows the
// colour, then asks the window to close (WM_DELETE_WINDOW) and waits for the program to end.
// ms is the time from the start to the painted pixel.
RunFigures RunWindow(const std::vector<std::string>& argv, const WindowCheck& check);

}  // namespace lx::bench
