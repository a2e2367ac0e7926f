// The drive test window's request grid as data: one row per request field (two for a menu and
// parameter pair), a separator, the reply fields, the current cell and the in-place editor's state.
#pragma once

#include <string>
#include <vector>

#include "foundation/values/qovArrayList.h"

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
    // False when the text typed held a character Latin-1 has none for; `value` then carries "?" in
    // its place, and a text field holding it is refused rather than sent.
    bool fitsLatin1 = true;
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
  // Texts come as Latin-1 bytes; fitsLatin1 tells whether every character typed had one.
  void SetValue(int row, std::string text, bool fitsLatin1 = true);

  // The in-place editor. BeginCellEdit is false, and nothing opens, on a row that cannot be edited;
  // otherwise the editor starts with the cell's text, all of it selected.
  bool BeginCellEdit();
  // A key that gives a character code in the grid (Enter 13, Backspace 8, Ctrl+letter 1-26, ...)
  // opens the editor as BeginCellEdit does; a printable 32-126 then replaces the cell's text.
  bool CharacterKey(int code);
  bool Editing() const { return editing_; }
  int EditRow() const { return editRow_; }
  const std::string& EditorText() const { return editorText_; }
  bool EditorSelectsAll() const { return editorSelectsAll_; }
  void EndCellEdit(const std::string& text, bool fitsLatin1 = true);
  void CancelCellEdit();
  // Enter, Up, Down and Escape in the editor; true when the key closed it.
  bool EditorKey(int keyCode, const std::string& text, bool fitsLatin1 = true);
  // Leaving the editor by a click elsewhere stores the text and moves on, as Down does.
  void EditorLostFocus(const std::string& text, bool fitsLatin1 = true);

  // The arguments of a function that is not special, in request-item order. Returns the caption of
  // the first numeric field that holds no usable number (nothing is added then), or "".
  std::string CollectArguments(const DriveFunctionTemplate& function, qovArrayList& arguments) const;
  // The caption of the first text field (string or character) whose text cannot go out as Latin-1,
  // or "".
  std::string TextOutsideLatin1(const DriveFunctionTemplate& function) const;

 private:
  void AddRequestRows(const DriveFunctionTemplate& function);
  void AddReplyRows(const DriveFunctionTemplate& function);

  std::vector<Row> rows_;
  int currentRow_ = 0;
  int currentColumn_ = 1;
  bool editing_ = false;
  int editRow_ = 0;
  std::string editorText_;
  bool editorSelectsAll_ = true;
};

}  // namespace quendrel
