// Ambrel: the configuration tool of the transmitter chips.
#include "app/windowed.h"

int main(int argc, char** argv) { return lx::app::RunWindowedTool(argc, argv, lx::app::AmbrelTool()); }
