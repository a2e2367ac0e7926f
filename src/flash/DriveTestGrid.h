// The drive test window's request grid as data: one row per request field (two for a menu and
// parameter pair), a separator, the reply fields, the current cell and the in-place editor's state.
#pragma once

#include <string>
#include <vector>

#include "foundation/qovArrayList.h"

namespace quendrel {

class DriveFunctionTemplate;

class DriveTestGrid {
 public:
  struct Row {
    std::string caption;  // column 0
    std::string value;    // column 1
    // The 1-based request item of a request row; -1 for the header, the separator and reply rows.
    int rowData = -1;
    bool greyed = false;
    bool merged = false;  // the separator spans both columns
  };

  DriveTestGrid();

  // Rebuilds the rows for the function; every Value cell starts empty.
  void Build(const DriveFunctionTemplate& function);

  int Rows() const { return static_cast<int>(rows_.size()); }
  const Row& RowAt(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
  bool Editable(int row) const { return row >= 0 && row < Rows() && RowAt(row).rowData != -1; }

  int CurrentRow() const { return currentRow_; }
  int CurrentColumn() const { return currentColumn_; }
  // Column 0 always moves to column 1: only Value cells are ever current.
  void SetCurrentCell(int row, int column);
  bool HighlightOn() const { return Editable(currentRow_); }
  void SetValue(int row, std::string text);

  // The in-place editor. BeginCellEdit is false, and nothing opens, on a row that cannot be edited.
  bool BeginCellEdit();
  bool Editing() const { return editing_; }
  int EditRow() const { return editRow_; }
  void EndCellEdit(const std::string& text);
  void CancelCellEdit();
  // Enter, Up, Down and Escape in the editor; true when the key closed it.
  bool EditorKey(int keyCode, const std::string& text);
  // Leaving the editor by a click elsewhere stores the text and moves on, as Down does.
  void EditorLostFocus(const std::string& text);

  // The arguments of a function that is not special, in request-item order. Returns the caption of
  // the first numeric field that holds no usable number (nothing is added then), or "".
  std::string CollectArguments(const DriveFunctionTemplate& function, qovArrayList& arguments) const;

 private:
  void AddRequestRows(const DriveFunctionTemplate& function);
  void AddReplyRows(const DriveFunctionTemplate& function);

  std::vector<Row> rows_;
  int currentRow_ = 0;
  int currentColumn_ = 1;
  bool editing_ = false;
  int editRow_ = 0;
};

}  // namespace quendrel
