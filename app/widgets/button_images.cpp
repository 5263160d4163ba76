#include "app/widgets/button_images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace {

struct Ink {
    QColor fill;
    QColor line;
};

using Figure = void (*)(QPainter& painter, const Ink& ink, qreal size);

// The disabled picture is the figure in grey with a white shadow, the usual etched look.
const QColor kDisabledGrey(128, 128, 128);
const QColor kEtchWhite(255, 255, 255);

QPixmap Picture(Figure figure, const Ink& ink, int size, bool etched) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (etched) {
        painter.save();
        painter.translate(1, 1);
        figure(painter, {kEtchWhite, kEtchWhite}, size);
        painter.restore();
    }
    figure(painter, ink, size);
    return pixmap;
}

QIcon TwoStateIcon(Figure figure, const Ink& enabledInk, int size) {
    QIcon icon;
    icon.addPixmap(Picture(figure, enabledInk, size, false), QIcon::Normal);
    icon.addPixmap(Picture(figure, {kDisabledGrey, kDisabledGrey}, size, true), QIcon::Disabled);
    return icon;
}

// A rectangle given in fractions of the picture, on whole pixels so that its edges stay sharp.
QRectF PixelRect(qreal size, qreal left, qreal top, qreal width, qreal height) {
    return QRectF(qRound(size * left), qRound(size * top), qRound(size * width),
                  qRound(size * height));
}

void Tick(QPainter& painter, const Ink& ink, qreal size) {
    QPainterPath path;
    path.moveTo(size * 0.12, size * 0.52);
    path.lineTo(size * 0.40, size * 0.78);
    path.lineTo(size * 0.88, size * 0.20);
    painter.setPen(QPen(ink.fill, size * 0.16, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
}

void OpenDoor(QPainter& painter, const Ink& ink, qreal size) {
    // The frame, then the door swung open towards the viewer, with its knob.
    painter.setPen(QPen(ink.line, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(size * 0.45, size * 0.08, size * 0.45, size * 0.84));
    const QPolygonF door({QPointF(size * 0.45, size * 0.08), QPointF(size * 0.12, size * 0.20),
                          QPointF(size * 0.12, size * 0.98), QPointF(size * 0.45, size * 0.92)});
    painter.setBrush(ink.fill);
    painter.drawPolygon(door);
    painter.setBrush(ink.line);
    painter.drawEllipse(QPointF(size * 0.20, size * 0.56), size * 0.05, size * 0.05);
}

QPolygonF RightTriangle(qreal left, qreal right, qreal size) {
    return QPolygonF(
        {QPointF(left, size * 0.15), QPointF(right, size * 0.5), QPointF(left, size * 0.85)});
}

void Play(QPainter& painter, const Ink& ink, qreal size) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.fill);
    painter.drawPolygon(RightTriangle(size * 0.28, size * 0.78, size));
}

void Pause(QPainter& painter, const Ink& ink, qreal size) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.fill);
    painter.drawRect(PixelRect(size, 0.25, 0.18, 0.18, 0.64));
    painter.drawRect(PixelRect(size, 0.57, 0.18, 0.18, 0.64));
}

void Step(QPainter& painter, const Ink& ink, qreal size) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.fill);
    painter.drawPolygon(RightTriangle(size * 0.18, size * 0.62, size));
    painter.drawRect(PixelRect(size, 0.66, 0.15, 0.14, 0.70));
}

void Stop(QPainter& painter, const Ink& ink, qreal size) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.fill);
    painter.drawRect(PixelRect(size, 0.22, 0.22, 0.56, 0.56));
}

const Ink kTickGreen{QColor(0, 160, 0), QColor(0, 96, 0)};
const Ink kDoorBrown{QColor(160, 96, 32), QColor(64, 32, 0)};
const Ink kPlaybackBlack{QColor(0, 0, 0), QColor(0, 0, 0)};

}  // namespace

QIcon OpenImage() {
    return TwoStateIcon(Tick, kTickGreen, kCommandImageSize);
}
QIcon CloseImage() {
    return TwoStateIcon(OpenDoor, kDoorBrown, kCommandImageSize);
}
QIcon PlayImage() {
    return TwoStateIcon(Play, kPlaybackBlack, kPlaybackImageSize);
}
QIcon PauseImage() {
    return TwoStateIcon(Pause, kPlaybackBlack, kPlaybackImageSize);
}
QIcon StepImage() {
    return TwoStateIcon(Step, kPlaybackBlack, kPlaybackImageSize);
}
QIcon StopImage() {
    return TwoStateIcon(Stop, kPlaybackBlack, kPlaybackImageSize);
}
