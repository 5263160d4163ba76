#include "app/log_view/comm_log_view.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "app/text/qstring_bytes.h"

namespace {

// The space around the text, as the plain text areas of the window have it.
constexpr int kMargin = 4;
// About fifty frames a second: a flood is drawn smoothly without a redraw per line.
constexpr int kUpdateIntervalMs = 20;

}  // namespace

CommLogView::CommLogView(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    verticalScrollBar()->setSingleStep(1);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!updatingRange_) following_ = value == verticalScrollBar()->maximum();
    });
    updateTimer_.setSingleShot(true);
    updateTimer_.setInterval(kUpdateIntervalMs);
    connect(&updateTimer_, &QTimer::timeout, this, &CommLogView::UpdateScrollRange);
}

void CommLogView::AppendLine(std::string_view bytes) {
    lines_.Append(bytes);
    ScheduleUpdate();
}

void CommLogView::clear() {
    lines_.Clear();
    selectionAnchor_ = selectionEnd_ = kNoLine;
    following_ = true;
    updateTimer_.stop();
    UpdateScrollRange();
}

QString CommLogView::toPlainText() const {
    QString text;
    for (std::size_t i = 0; i < LineCount(); ++i) {
        if (i > 0) text += u'\n';
        text += FromBytes(LineBytes(i));
    }
    return text;
}

void CommLogView::SelectLines(std::size_t first, std::size_t last) {
    if (LineCount() == 0) return;
    selectionAnchor_ = std::min(first, LineCount() - 1);
    SetSelectionEnd(std::min(last, LineCount() - 1));
}

void CommLogView::selectAll() {
    if (LineCount() > 0) SelectLines(0, LineCount() - 1);
}

QString CommLogView::SelectedText() const {
    QString text;
    if (selectionAnchor_ == kNoLine) return text;
    const std::size_t first = std::min(selectionAnchor_, selectionEnd_);
    const std::size_t last = std::max(selectionAnchor_, selectionEnd_);
    for (std::size_t i = first; i <= last; ++i) {
        if (i > first) text += u'\n';
        text += FromBytes(LineBytes(i));
    }
    return text;
}

void CommLogView::copy() {
    if (selectionAnchor_ != kNoLine) QGuiApplication::clipboard()->setText(SelectedText());
}

QRect CommLogView::LineRect(std::size_t index) const {
    QTextLayout layout;
    int y = kMargin;
    for (std::size_t i = TopLine(); i < LineCount() && y < viewport()->height(); ++i) {
        const int height = LayOut(layout, i);
        if (i == index) return QRect(0, y, viewport()->width(), height);
        y += height;
    }
    return {};
}

void CommLogView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    const QPalette& colours = palette();
    QTextLayout layout;
    int y = kMargin;
    for (std::size_t i = TopLine(); i < LineCount() && y < viewport()->height(); ++i) {
        const int height = LayOut(layout, i);
        if (IsSelected(i)) {
            painter.fillRect(QRect(0, y, viewport()->width(), height), colours.highlight());
            painter.setPen(colours.color(QPalette::HighlightedText));
        } else {
            painter.setPen(colours.color(QPalette::Text));
        }
        layout.draw(&painter, QPointF(kMargin, y));
        y += height;
    }
}

void CommLogView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void CommLogView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) UpdateScrollRange();
}

// The scroll position counts lines, not pixels: the view is drawn anew from its top line.
void CommLogView::scrollContentsBy(int /*dx*/, int /*dy*/) {
    viewport()->update();
}

void CommLogView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const std::size_t line = LineAtHeight(event->position().toPoint().y());
    if (line == kNoLine) return;
    if (event->modifiers().testFlag(Qt::ShiftModifier) && selectionAnchor_ != kNoLine) {
        SetSelectionEnd(line);
    } else {
        SelectLines(line, line);
    }
}

void CommLogView::mouseMoveEvent(QMouseEvent* event) {
    if (!event->buttons().testFlag(Qt::LeftButton) || selectionAnchor_ == kNoLine) return;
    // Dragging past an edge scrolls on, so that a selection can span more than a screen.
    const int y = event->position().toPoint().y();
    if (y < 0) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else if (y >= viewport()->height()) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    }
    SetSelectionEnd(LineAtHeight(std::clamp(y, 0, viewport()->height() - 1)));
}

void CommLogView::keyPressEvent(QKeyEvent* event) {
    QScrollBar* bar = verticalScrollBar();
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (event->matches(QKeySequence::MoveToStartOfDocument) ||
               event->key() == Qt::Key_Home) {
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
    } else if (event->matches(QKeySequence::MoveToEndOfDocument) || event->key() == Qt::Key_End) {
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
    } else {
        // Arrows and page keys scroll; any other key is not the log's and goes to the window.
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void CommLogView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(tr("&Copy"), this, &CommLogView::copy)->setEnabled(selectionAnchor_ != kNoLine);
    menu.addSeparator();
    menu.addAction(tr("Select All"), this, &CommLogView::selectAll)->setEnabled(LineCount() > 0);
    menu.exec(event->globalPos());
}

int CommLogView::LayOut(QTextLayout& layout, std::size_t index) const {
    layout.setText(FromBytes(LineBytes(index)));
    layout.setFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const int width = TextWidth();
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return std::max(1, static_cast<int>(std::ceil(height)));
}

int CommLogView::TextWidth() const {
    return std::max(1, viewport()->width() - 2 * kMargin);
}

std::size_t CommLogView::TopLineAtTheEnd() const {
    if (LineCount() == 0) return 0;
    QTextLayout layout;
    std::size_t top = LineCount() - 1;
    int room = viewport()->height() - 2 * kMargin - LayOut(layout, top);
    while (top > 0) {
        const int height = LayOut(layout, top - 1);
        if (height > room) break;
        room -= height;
        --top;
    }
    return top;
}

std::size_t CommLogView::TopLine() const {
    return static_cast<std::size_t>(std::max(0, verticalScrollBar()->value()));
}

std::size_t CommLogView::LineAtHeight(int y) const {
    if (LineCount() == 0) return kNoLine;
    QTextLayout layout;
    int lineTop = kMargin;
    const std::size_t top = std::min(TopLine(), LineCount() - 1);
    for (std::size_t i = top; i < LineCount(); ++i) {
        lineTop += LayOut(layout, i);
        if (y < lineTop || lineTop >= viewport()->height()) return i;
    }
    return LineCount() - 1;
}

void CommLogView::UpdateScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    const int end = static_cast<int>(TopLineAtTheEnd());
    updatingRange_ = true;
    bar->setRange(0, end);
    bar->setPageStep(std::max(1, viewport()->height() / std::max(1, fontMetrics().lineSpacing())));
    if (following_) bar->setValue(end);
    updatingRange_ = false;
    // Shortening the range may have brought an operator who had scrolled away back to the end.
    following_ = following_ || bar->value() == end;
    viewport()->update();
}

void CommLogView::ScheduleUpdate() {
    if (!updateTimer_.isActive()) updateTimer_.start();
}

bool CommLogView::IsSelected(std::size_t index) const {
    return selectionAnchor_ != kNoLine && index >= std::min(selectionAnchor_, selectionEnd_) &&
           index <= std::max(selectionAnchor_, selectionEnd_);
}

void CommLogView::SetSelectionEnd(std::size_t index) {
    selectionEnd_ = index;
    viewport()->update();
}
