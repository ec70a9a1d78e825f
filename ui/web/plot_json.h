#pragma once
// A plot control's items for the page (ui/web/site/lx-plot.js paints them on a canvas with the
// frame and colours of core/plot.h, as the other hosts paint them).
#include <nlohmann/json_fwd.hpp>

#include "ui/dialog.h"

namespace lx::ui::web {

// The plot's scale, frame, colours and items, and the listing the transcripts read back; null
// for a control with nothing to draw.
nlohmann::json PlotJson(const ControlState& control);

}  // namespace lx::ui::web
