#include "app/widgets/program_icon.h"

#include <QString>

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 256}) {
        icon.addFile(QStringLiteral(":/icon/qdax-serial-loader-%1.png").arg(size),
                     QSize(size, size));
    }
    return icon;
}
