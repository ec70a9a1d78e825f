#include "ui/web/plot_json.h"

#include <fmt/format.h>

#include <nlohmann/json.hpp>

#include "core/plot.h"

namespace lx::ui::web {

namespace {

using nlohmann::json;

const char* ItemKindName(plot::ItemKind kind) {
  switch (kind) {
    case plot::ItemKind::Tick:
      return "tick";
    case plot::ItemKind::Range:
      return "range";
    case plot::ItemKind::Trace:
      return "trace";
    case plot::ItemKind::Threshold:
      return "threshold";
    case plot::ItemKind::Product:
      return "product";
    case plot::ItemKind::Channel:
      return "channel";
  }
  return "";
}

std::string Css(uint32_t rgb) { return fmt::format("#{:06X}", rgb); }

}  // namespace

json PlotJson(const ControlState& control) {
  if (!control.plot) return nullptr;
  const plot::Plot& p = *control.plot;
  json items = json::array();
  for (const plot::Item& i : p.items) {
    json item{{"k", ItemKindName(i.kind)}, {"x", i.x}};
    switch (i.kind) {
      case plot::ItemKind::Range:
        item["x2"] = i.x2;
        break;
      case plot::ItemKind::Trace:
      case plot::ItemKind::Threshold:
        item["y"] = i.y;
        break;
      case plot::ItemKind::Tick:
        item["label"] = i.label;
        break;
      case plot::ItemKind::Product:
        item["label"] = i.label;  // its order sets the mark's height
        item["red"] = i.conflict;
        break;
      case plot::ItemKind::Channel:
        item["label"] = i.label;
        item["red"] = i.conflict;
        item["row"] = i.row;
        break;
    }
    items.push_back(std::move(item));
  }
  using F = plot::Frame;
  return json{{"low", p.low},
              {"high", p.high},
              {"dbLow", p.dbLow},
              {"dbHigh", p.dbHigh},
              {"frame",
               {{"left", F::kMarginLeft},
                {"right", F::kMarginRight},
                {"top", F::kMarginTop},
                {"bottom", F::kMarginBottom},
                {"rowHeight", F::kLabelRowHeight}}},
              {"colours",
               {{"background", Css(plot::kBackgroundRgb)},
                {"axis", Css(plot::kAxisRgb)},
                {"range", Css(plot::kRangeRgb)},
                {"trace", Css(plot::kTraceRgb)},
                {"threshold", Css(plot::kThresholdRgb)},
                {"product", Css(plot::kProductRgb)},
                {"channel", Css(plot::kChannelRgb)},
                {"conflict", Css(plot::kConflictRgb)}}},
              {"items", std::move(items)},
              {"listing", PlotText(control)}};
}

}  // namespace lx::ui::web
