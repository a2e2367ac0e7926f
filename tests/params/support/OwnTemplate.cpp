#include "params/support/OwnTemplate.h"

#include "params/compatibility/FirmwareCompatibilityFile.h"

namespace quendrel {

std::shared_ptr<FirmwareInformationTemplate> InstallOwnTemplate() {
  auto fit = std::make_shared<FirmwareInformationTemplate>(*FirmwareCompatibility().FitData(2.105));
  FirmwareCompatibilityFile fc2;
  fc2.AddTemplate(fit);
  FirmwareCompatibility() = fc2;
  return fit;
}

}  // namespace quendrel
