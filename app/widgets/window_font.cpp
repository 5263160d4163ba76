#include "app/widgets/window_font.h"

#include <QFontInfo>

namespace {

// DejaVu Sans Condensed is the narrow face of the Debian desktop; scaled to this stretch its
// captions are as wide as the designed font's.
constexpr char kStandInFamily[] = "DejaVu Sans Condensed";
constexpr int kStandInStretch = 80;

}  // namespace

QFont WindowFont() {
    QFont designed(QString::fromLatin1(kWindowFontFamily));
    designed.setPixelSize(kWindowFontPixelSize);
    if (QFontInfo(designed).exactMatch()) {
        return designed;
    }
    QFont standIn(QString::fromLatin1(kStandInFamily));
    standIn.setStyleHint(QFont::SansSerif);
    standIn.setPixelSize(kWindowFontPixelSize);
    standIn.setStretch(kStandInStretch);
    return standIn;
}
