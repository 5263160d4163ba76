// The communications log on screen: a read-only text area of 8-bit lines that holds a whole run's
// traffic, a million lines and more, in little more memory than the bytes themselves. Long lines
// wrap at the width of the area. The view follows the newest line while it shows the end; once the
// operator has scrolled up to read, it stays where it is until brought back to the end. Whole lines
// are selected with the mouse (click, Shift+click, drag) or Ctrl+A, and copied as text with Ctrl+C.
#pragma once

#include <QAbstractScrollArea>
#include <QTimer>
#include <cstddef>
#include <string_view>

#include "app/log_view/log_line_store.h"

class QTextLayout;

class CommLogView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CommLogView(QWidget* parent = nullptr);

    // The line is stored at once; the screen catches up within a frame, so a flood of lines is
    // drawn a few dozen times a second, not once per line.
    void AppendLine(std::string_view bytes);
    void clear();

    std::size_t LineCount() const { return lines_.Count(); }
    // The bytes of line `index` as they were appended; valid until the log is cleared.
    std::string_view LineBytes(std::size_t index) const { return lines_.At(index); }
    // All lines joined with '\n', each byte the character of the same code.
    QString toPlainText() const;

    // Selects lines `first` to `last` (in either order, both included; cut to the last line).
    void SelectLines(std::size_t first, std::size_t last);
    void selectAll();
    // The selected lines joined with '\n'; empty when nothing is selected.
    QString SelectedText() const;
    // Puts the selected lines on the clipboard; nothing when nothing is selected.
    void copy();

    // Where line `index` is drawn in the viewport; empty when it is not on screen.
    QRect LineRect(std::size_t index) const;
    // Whether the view keeps the newest line in sight as lines arrive.
    bool FollowsTheEnd() const { return following_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    static constexpr std::size_t kNoLine = static_cast<std::size_t>(-1);

    // Lays out line `index` at the current width; returns its height in pixels.
    int LayOut(QTextLayout& layout, std::size_t index) const;
    int TextWidth() const;
    // The first line from which the rest of the log fits in the viewport: the top line at the end.
    std::size_t TopLineAtTheEnd() const;
    std::size_t TopLine() const;
    // The line under viewport height `y`; the nearest line when `y` is outside the lines.
    std::size_t LineAtHeight(int y) const;
    // Brings the scroll range, and the position when following, up to date with the lines.
    void UpdateScrollRange();
    void ScheduleUpdate();
    bool IsSelected(std::size_t index) const;
    void SetSelectionEnd(std::size_t index);

    LogLineStore lines_;
    QTimer updateTimer_;
    bool following_ = true;
    bool updatingRange_ = false;
    std::size_t selectionAnchor_ = kNoLine;
    std::size_t selectionEnd_ = kNoLine;
};
