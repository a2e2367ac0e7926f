// Series as their holders share them: a collection handed out keeps a removed series alive while
// its holder still walks it.
#pragma once

#include <memory>
#include <vector>

#include "graph/data/gdSeries.h"

namespace quendrel {

using SeriesCollection = std::vector<std::shared_ptr<gdSeries>>;

}  // namespace quendrel
