#include "flash/drivetest/DriveTestGrid.h"

#include <cstdint>
#include <string>
#include <utility>

#include "comms/functions/DriveFunctionTemplate.h"
#include "flash/drivetest/TypedArgument.h"
#include "platform/KeyCodes.h"

namespace quendrel {
namespace {

bool IsNumeric(DFTValueType type) { return type != dftString && type != dftCharacter; }

}  // namespace

DriveTestGrid::DriveTestGrid() { rows_.push_back(Row{"Parameter", "Value"}); }

void DriveTestGrid::Build(const DriveFunctionTemplate& function) {
  editing_ = false;
  rows_.resize(1);
  AddRequestRows(function);
  const bool replies = function.Returns() > 0;
  rows_.push_back(Row{"", replies ? "Return Values" : "No Return Value", -1, true, true});
  AddReplyRows(function);
  SetCurrentCell(1, 1);
}

void DriveTestGrid::AddRequestRows(const DriveFunctionTemplate& function) {
  for (int i = 1; i <= function.Parameters(); ++i) {
    const udtTemplateItem& item = function.Parameter(i);
    if (item.Type != dftMxxPxx) {
      rows_.push_back(Row{item.Description, "", i});
      continue;
    }
    rows_.push_back(Row{"Menu", "", i});
    rows_.push_back(Row{"Parameter", "", i});
  }
}

void DriveTestGrid::AddReplyRows(const DriveFunctionTemplate& function) {
  for (int j = 1; j <= function.Returns(); ++j) {
    const udtTemplateItem& item = function.ReturnValue(j);
    rows_.push_back(Row{item.Description, DFTValueTypeText(item.Type), -1, true});
  }
}

void DriveTestGrid::SetCurrentCell(int row, int column) {
  if (row < 0 || row >= Rows()) return;
  currentRow_ = row;
  currentColumn_ = column == 0 ? 1 : column;
}

void DriveTestGrid::SetValue(int row, std::string text, bool fitsLatin1) {
  Row& cell = rows_.at(static_cast<std::size_t>(row));
  cell.value = std::move(text);
  cell.fitsLatin1 = fitsLatin1;
}

bool DriveTestGrid::BeginCellEdit() {
  if (!Editable(currentRow_)) return false;
  editing_ = true;
  editRow_ = currentRow_;
  editorText_ = RowAt(editRow_).value;
  editorSelectsAll_ = true;
  return true;
}

bool DriveTestGrid::CharacterKey(int code) {
  if (!BeginCellEdit()) return false;
  if (code < 32 || code > 126) return true;
  editorText_ = std::string(1, static_cast<char>(code));
  editorSelectsAll_ = false;
  return true;
}

void DriveTestGrid::EndCellEdit(const std::string& text, bool fitsLatin1) {
  // Hiding the editor takes its focus away; only the first of the two ends may store the text.
  if (!editing_) return;
  editing_ = false;
  SetCurrentCell(editRow_, 1);
  SetValue(editRow_, text, fitsLatin1);
}

void DriveTestGrid::CancelCellEdit() { editing_ = false; }

bool DriveTestGrid::EditorKey(int keyCode, const std::string& text, bool fitsLatin1) {
  if (keyCode == vbKeyEscape) {
    CancelCellEdit();
    return true;
  }
  if (keyCode != vbKeyReturn && keyCode != vbKeyUp && keyCode != vbKeyDown) return false;
  EndCellEdit(text, fitsLatin1);
  if (keyCode == vbKeyUp && currentRow_ >= 2) SetCurrentCell(currentRow_ - 1, 1);
  if (keyCode == vbKeyDown) SetCurrentCell(currentRow_ + 1, 1);
  return true;
}

void DriveTestGrid::EditorLostFocus(const std::string& text, bool fitsLatin1) {
  if (!editing_) return;
  EndCellEdit(text, fitsLatin1);
  SetCurrentCell(currentRow_ + 1, 1);
}

std::string DriveTestGrid::CollectArguments(const DriveFunctionTemplate& function, qovArrayList& arguments) const {
  qovArrayList collected;
  int row = 1;
  for (int i = 1; i <= function.Parameters(); ++i) {
    const udtTemplateItem& item = function.Parameter(i);
    if (item.Type == dftMxxPxx) {
      std::string refused;
      const std::optional<std::int32_t> number =
          ParameterNumberFromCells(RowAt(row).value, RowAt(row + 1).value, refused);
      if (!number) return refused;
      collected.append(Variant(std::to_string(*number)));
      row += 2;
      continue;
    }
    const std::string& text = RowAt(row).value;
    if (!IsNumeric(item.Type)) {
      collected.append(Variant(text));
    } else if (FieldTakesTypedNumber(text, item.Type, item.Decimals)) {
      collected.append(TypedArgumentValue(text, item.Type));
    } else {
      return item.Description;
    }
    ++row;
  }
  arguments = std::move(collected);
  return "";
}

std::string DriveTestGrid::TextOutsideLatin1(const DriveFunctionTemplate& function) const {
  int row = 1;
  for (int i = 1; i <= function.Parameters(); ++i) {
    const udtTemplateItem& item = function.Parameter(i);
    if (!IsNumeric(item.Type) && !RowAt(row).fitsLatin1) return item.Description;
    row += item.Type == dftMxxPxx ? 2 : 1;
  }
  return "";
}

}  // namespace quendrel
