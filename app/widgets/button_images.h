// The pictures of the image buttons, drawn here. Each icon holds an enabled and a disabled
// picture of the same size; what is not part of the figure is transparent.
#pragma once

#include <QIcon>

inline constexpr int kCommandImageSize = 18;   // Open and Close
inline constexpr int kPlaybackImageSize = 16;  // Play, Pause, Step, Stop

QIcon OpenImage();   // a green tick
QIcon CloseImage();  // an open door
QIcon PlayImage();   // a triangle pointing right
QIcon PauseImage();  // two vertical bars
QIcon StepImage();   // a triangle followed by a bar
QIcon StopImage();   // a filled square
