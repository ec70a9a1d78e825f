// Ostrel: the configuration tool of the receiver chips.
#include "app/windowed.h"

int main(int argc, char** argv) { return lx::app::RunWindowedTool(argc, argv, lx::app::OstrelTool()); }
