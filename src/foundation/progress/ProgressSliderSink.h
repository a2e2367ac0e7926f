// A slider whose thumb a ProgressServer moves along with the progress.
#pragma once

#include "foundation/progress/ProgressRangeSink.h"

namespace quendrel {

class ProgressSliderSink : public ProgressRangeSink {};

}  // namespace quendrel
