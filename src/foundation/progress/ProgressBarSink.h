// A progress bar that a ProgressServer positions within a range.
#pragma once

#include "foundation/progress/ProgressRangeSink.h"

namespace quendrel {

class ProgressBarSink : public ProgressRangeSink {};

}  // namespace quendrel
