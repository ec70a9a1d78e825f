#pragma once
// The resource sets of the two tools: dialog templates, menu, strings and pictures.
#include "resources/ids.h"
#include "ui/template.h"

namespace lx::res {

const ui::ResourceSet& AmbrelResources();
const ui::ResourceSet& OstrelResources();

}  // namespace lx::res
