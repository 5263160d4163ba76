// The application's title: the caption of its error boxes and its entry in the task bar.
#pragma once

#include <QString>

inline constexpr char kApplicationTitle[] = "Q-Dax Communications Test Program";

// Kept as the application's name, which window systems show for the program; the display name
// would be appended to every window caption instead.
void SetApplicationTitle();
QString ApplicationTitle();
