#include "editors/ValueRefusal.h"

#include "foundation/text/FixedPoint.h"
#include "params/transfer/ParameterDownload.h"
#include "platform/UiServices.h"
#include "tree/ParameterTreeNode.h"

namespace quendrel {

bool FitsParameterWord(const ParameterTreeNode& node, const std::string& pad) {
  return ParameterDownload::TypedRawValue(node.Value(), DecimalPlacesFromFlags(pad)).has_value();
}

void ShowValueRefused(const std::string& windowCaption) { Ui().MsgBox(ValueRefusedText, vbExclamation, windowCaption); }

}  // namespace quendrel
