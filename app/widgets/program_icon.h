// The program's own icon, at the sizes drawn for it (tools/icon/draw_icon.py).
#pragma once

#include <QIcon>

QIcon ProgramIcon();
