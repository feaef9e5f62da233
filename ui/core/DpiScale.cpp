#include "ui/core/DpiScale.h"

#include <cstdint>
#include <cstdlib>

namespace pw {

namespace {

int Dpi(int dpi) { return dpi > 0 ? dpi : kDesignDpi; }

// a * b / c rounded to the nearest integer, halves away from zero; c > 0.
int MulDivRound(std::int64_t a, std::int64_t b, std::int64_t c) {
  const std::int64_t n = a * b;
  return static_cast<int>((2 * n + (n < 0 ? -c : c)) / (2 * c));
}

}  // namespace

int ScaleToDpi(int value, int dpi) { return MulDivRound(value, Dpi(dpi), kDesignDpi); }

int RescaleDpi(int value, int fromDpi, int toDpi) { return MulDivRound(value, Dpi(toDpi), Dpi(fromDpi)); }

int FontHeightForDpi(int points, int dpi) { return -MulDivRound(points, Dpi(dpi), 72); }

int NearestPictureSize(int wanted, std::span<const int> available) {
  int best = 0;
  for (int size : available) {
    if (size <= 0) continue;
    const int distance = std::abs(size - wanted), bestDistance = std::abs(best - wanted);
    if (best == 0 || distance < bestDistance || (distance == bestDistance && size < best)) best = size;
  }
  return best;
}

int FittingPictureSize(int cell, std::span<const int> available) {
  int fitting = 0, smallest = 0;
  for (int size : available) {
    if (size <= 0) continue;
    if (size <= cell && size > fitting) fitting = size;
    if (smallest == 0 || size < smallest) smallest = size;
  }
  return fitting ? fitting : smallest;
}

}  // namespace pw
