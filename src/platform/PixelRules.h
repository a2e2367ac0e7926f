// The pixels each canvas primitive covers, shared by every canvas so that all of them draw the
// identical picture and a faster drawing can be checked against a plain one.
#pragma once

#include <vector>

namespace quendrel {

// One horizontal run of pixels, both ends included.
struct PixelSpan {
  int Y = 0;
  int X0 = 0;
  int X1 = 0;
  bool operator==(const PixelSpan&) const = default;
};

// One vertical run of pixels in one device column, both ends included.
struct PixelColumnSpan {
  int X = 0;
  int Y0 = 0;
  int Y1 = 0;
  bool operator==(const PixelColumnSpan&) const = default;
};

struct PixelPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const PixelPoint&) const = default;
};

// Bresenham from the first point towards the second, which is left out (so a zero-length
// line covers nothing and connected lines never cover a pixel twice).
void AppendLinePixels(int x1, int y1, int x2, int y2, std::vector<PixelSpan>& out);
// The same for a line inside column x, as one vertical span; Y1 is below Y0 for a line of no
// length.
PixelColumnSpan UprightLinePixels(int x, int y1, int y2);

// Corner to corner, both included, in any order.
void AppendBoxOutlinePixels(int x1, int y1, int x2, int y2, std::vector<PixelSpan>& out);
void AppendBoxInsidePixels(int x1, int y1, int x2, int y2, std::vector<PixelSpan>& out);

// The disc is every pixel whose distance from the centre d satisfies d * d <= r * r + r; its
// outline is the disc's pixels with a neighbour (left, right, above, below) outside it.
void AppendCircleOutlinePixels(int cx, int cy, int radius, std::vector<PixelSpan>& out);
void AppendCircleInsidePixels(int cx, int cy, int radius, std::vector<PixelSpan>& out);

// The dotted border of [left, right) x [top, bottom): the border pixels whose x + y is even,
// each once.
std::vector<PixelPoint> FocusRectPixels(int left, int top, int right, int bottom);

}  // namespace quendrel
