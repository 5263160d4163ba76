// The window's font: "MS Sans Serif" at 8 points (11 pixels high) where the system has it.
#pragma once

#include <QFont>

inline constexpr char kWindowFontFamily[] = "MS Sans Serif";
inline constexpr int kWindowFontPixelSize = 11;

// Elsewhere a narrowed sans-serif font of the same pixel size stands in, narrow enough that every
// caption fits the width the layout gives its control, as it does in the designed font.
QFont WindowFont();
