// A copy of the loaded 2.105 template, installed as the program's only one for a test to edit.
#pragma once

#include <memory>

#include "params/compatibility/FirmwareInformationTemplate.h"

namespace quendrel {

std::shared_ptr<FirmwareInformationTemplate> InstallOwnTemplate();

}  // namespace quendrel
