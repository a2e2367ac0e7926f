// What the drive flash window is given when its scripts run against the simulated drive on a real
// line: the line's server and module, the system clock, one parser for every test and the settings.
#pragma once

#include "comms/support/SerialRig.h"
#include "flash/runner/DriveFlash.h"
#include "platform/UiServices.h"

namespace quendrel {

DriveFlashLinks LineFlashLinks(UiServices& ui, SerialRig& line);

}  // namespace quendrel
