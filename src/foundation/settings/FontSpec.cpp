#include "foundation/settings/FontSpec.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "foundation/text/NumberText.h"

namespace quendrel {

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  for (auto at = text.find(separator); at != std::string_view::npos; at = text.find(separator)) {
    pieces.push_back(text.substr(0, at));
    text.remove_prefix(at + 1);
  }
  pieces.push_back(text);
  return pieces;
}

void ReadNameAndSize(std::string_view piece, FontSpec& font) {
  piece = Trimmed(piece);
  const auto lastBlank = piece.find_last_of(' ');
  // "Courier New, Bold" has no size: its last word is part of the name, not a size of 0.
  if (lastBlank == std::string_view::npos || !HasLeadingNumber(piece.substr(lastBlank + 1))) {
    font.Name = std::string(piece);
    return;
  }
  font.Name = std::string(Trimmed(piece.substr(0, lastBlank)));
  font.Size = static_cast<float>(LeadingNumber(piece.substr(lastBlank + 1)));
}

void ReadStyles(std::string_view piece, FontSpec& font) {
  std::string lower(piece);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
  for (const std::string_view word : SplitAt(lower, ' ')) {
    if (word == "bold") font.Bold = true;
    if (word == "italic") font.Italic = true;
    if (word == "underline") font.Underline = true;
    if (word == "strikethrough") font.Strikethrough = true;
  }
}

}  // namespace

std::string FontToString(const FontSpec& font) {
  std::string text = font.Name + " " + std::to_string(RoundHalfEven(font.Size)) + ", ";
  if (font.Bold) text += "Bold ";
  if (font.Italic) text += "Italic ";
  if (font.Underline) text += "Underline ";
  if (font.Strikethrough) text += "Strikethrough ";
  if (!font.Bold && !font.Italic && !font.Underline && !font.Strikethrough) text += "Normal";
  return std::string(Trimmed(text));
}

FontSpec ParseFont(std::string_view text) {
  FontSpec font;
  if (text.find(", ") == std::string_view::npos) {
    font.Name = std::string(Trimmed(text));
    return font;
  }
  const std::vector<std::string_view> pieces = SplitAt(text, ',');
  ReadNameAndSize(pieces[0], font);
  ReadStyles(pieces[1], font);
  return font;
}

}  // namespace quendrel
