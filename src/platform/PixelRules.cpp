#include "platform/PixelRules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quendrel {
namespace {

// Extends the last run when the pixel continues it, so straight lines become one run.
void AddPixel(int x, int y, std::vector<PixelSpan>& out) {
  if (!out.empty()) {
    PixelSpan& last = out.back();
    if (last.Y == y && last.X1 + 1 == x) {
      last.X1 = x;
      return;
    }
    if (last.Y == y && last.X0 - 1 == x) {
      last.X0 = x;
      return;
    }
  }
  out.push_back({y, x, x});
}

void AddRun(int y, int x0, int x1, std::vector<PixelSpan>& out) {
  if (x0 <= x1) out.push_back({y, x0, x1});
}

// Half the width of the disc's row dy, or -1 when the row is outside the disc.
int HalfWidth(int radius, int dy) {
  const long long room = static_cast<long long>(radius) * radius + radius -
                         static_cast<long long>(dy) * dy;
  if (room < 0) return -1;
  auto w = static_cast<long long>(std::sqrt(static_cast<double>(room)));
  while (w * w > room) --w;
  while ((w + 1) * (w + 1) <= room) ++w;
  return static_cast<int>(w);
}

}  // namespace

void AppendLinePixels(int x1, int y1, int x2, int y2, std::vector<PixelSpan>& out) {
  const int dx = std::abs(x2 - x1);
  const int dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1;
  const int sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  int x = x1;
  int y = y1;
  while (x != x2 || y != y2) {
    AddPixel(x, y, out);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

PixelColumnSpan UprightLinePixels(int x, int y1, int y2) {
  if (y1 == y2) return {x, 0, -1};
  return {x, std::min(y1, y2 + 1), std::max(y1, y2 - 1)};
}

void AppendBoxOutlinePixels(int x1, int y1, int x2, int y2, std::vector<PixelSpan>& out) {
  const int left = std::min(x1, x2);
  const int right = std::max(x1, x2);
  const int top = std::min(y1, y2);
  const int bottom = std::max(y1, y2);
  AddRun(top, left, right, out);
  for (int y = top + 1; y < bottom; ++y) {
    AddRun(y, left, left, out);
    if (right != left) AddRun(y, right, right, out);
  }
  if (bottom != top) AddRun(bottom, left, right, out);
}

void AppendBoxInsidePixels(int x1, int y1, int x2, int y2, std::vector<PixelSpan>& out) {
  const int left = std::min(x1, x2);
  const int right = std::max(x1, x2);
  const int top = std::min(y1, y2);
  const int bottom = std::max(y1, y2);
  for (int y = top + 1; y < bottom; ++y) AddRun(y, left + 1, right - 1, out);
}

void AppendCircleOutlinePixels(int cx, int cy, int radius, std::vector<PixelSpan>& out) {
  if (radius < 0) return;
  for (int dy = -radius; dy <= radius; ++dy) {
    const int w = HalfWidth(radius, dy);
    if (w < 0) continue;
    // Pixels up to this half-width have both vertical neighbours in the disc.
    const int covered = std::min({HalfWidth(radius, dy - 1), HalfWidth(radius, dy + 1), w - 1});
    if (covered < 0) {
      AddRun(cy + dy, cx - w, cx + w, out);
      continue;
    }
    AddRun(cy + dy, cx - w, cx - covered - 1, out);
    AddRun(cy + dy, cx + covered + 1, cx + w, out);
  }
}

void AppendCircleInsidePixels(int cx, int cy, int radius, std::vector<PixelSpan>& out) {
  if (radius < 0) return;
  for (int dy = -radius; dy <= radius; ++dy) {
    const int w = HalfWidth(radius, dy);
    if (w < 0) continue;
    const int covered = std::min({HalfWidth(radius, dy - 1), HalfWidth(radius, dy + 1), w - 1});
    if (covered >= 0) AddRun(cy + dy, cx - covered, cx + covered, out);
  }
}

std::vector<PixelPoint> FocusRectPixels(int left, int top, int right, int bottom) {
  std::vector<PixelPoint> points;
  if (right <= left || bottom <= top) return points;
  const auto add = [&points](int x, int y) {
    if ((x + y) % 2 == 0) points.push_back({x, y});
  };
  for (int x = left; x < right; ++x) add(x, top);
  for (int y = top + 1; y < bottom; ++y) {
    add(left, y);
    if (right - 1 != left) add(right - 1, y);
  }
  if (bottom - 1 != top) {
    for (int x = left + 1; x < right - 1; ++x) add(x, bottom - 1);
  }
  return points;
}

}  // namespace quendrel
