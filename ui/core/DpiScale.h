#pragma once
// Layout values are designed at 96 dots per inch. These turn them into pixels at a window's DPI,
// carry sizes the user chose from one DPI to another, and choose which of a picture's drawn sizes
// to show, so that nothing small is ever stretched into a blur.
#include <span>

namespace pw {

inline constexpr int kDesignDpi = 96;

// value * dpi / 96 to the nearest pixel, halves away from zero (as MulDiv rounds). A DPI of 0 or
// less counts as 96.
int ScaleToDpi(int value, int dpi);
// A value laid out at fromDpi, at toDpi: a width the user dragged keeps its share of the window.
int RescaleDpi(int value, int fromDpi, int toDpi);
// The lfHeight of a font of the given point size at dpi: minus its character height in pixels.
int FontHeightForDpi(int points, int dpi);

// A picture drawn in several sizes, of which only some may exist.
// Where the layout asks for `wanted` pixels and the cell follows the picture: the nearest available
// size, the smaller of two equally near. 0 when none is available.
int NearestPictureSize(int wanted, std::span<const int> available);
// For a cell of fixed size: the largest available size that fits, else the smallest (cut at the
// cell's edges rather than shrunk). 0 when none is available.
int FittingPictureSize(int cell, std::span<const int> available);

}  // namespace pw
