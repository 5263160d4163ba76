#include "app/widgets/anchor_layout.h"

#include <QWidget>
#include <utility>

namespace {

// One axis: the child's start and length after the parent grew by `growth`.
std::pair<int, int> AnchoredSpan(int start, int length, bool nearEdge, bool farEdge, int growth) {
    if (nearEdge && farEdge) {
        return {start, length + growth};
    }
    if (farEdge) {
        return {start + growth, length};
    }
    return {start, length};
}

}  // namespace

QRect AnchoredRect(const QRect& designRect, Anchors anchors, const QSize& designSize,
                   const QSize& parentSize) {
    const auto [x, width] =
        AnchoredSpan(designRect.x(), designRect.width(), (anchors & AnchorLeft) != 0,
                     (anchors & AnchorRight) != 0, parentSize.width() - designSize.width());
    const auto [y, height] =
        AnchoredSpan(designRect.y(), designRect.height(), (anchors & AnchorTop) != 0,
                     (anchors & AnchorBottom) != 0, parentSize.height() - designSize.height());
    return QRect(x, y, width, height);
}

AnchorLayout::AnchorLayout(QWidget* parent, const QSize& designSize)
    : QLayout(parent), designSize_(designSize) {
    setContentsMargins(0, 0, 0, 0);
    parent->setAttribute(Qt::WA_LayoutOnEntireRect);
}

AnchorLayout::~AnchorLayout() = default;

void AnchorLayout::AddControl(QWidget* control, const QRect& designRect, Anchors anchors) {
    addChildWidget(control);
    control->setGeometry(designRect);
    placements_.push_back({std::make_unique<QWidgetItem>(control), designRect, anchors});
    invalidate();
}

void AnchorLayout::addItem(QLayoutItem* item) {
    placements_.push_back({std::unique_ptr<QLayoutItem>(item), item->geometry(), kDefaultAnchors});
    invalidate();
}

QLayoutItem* AnchorLayout::itemAt(int index) const {
    if (index < 0 || index >= count()) {
        return nullptr;
    }
    return placements_[static_cast<std::size_t>(index)].item.get();
}

QLayoutItem* AnchorLayout::takeAt(int index) {
    if (index < 0 || index >= count()) {
        return nullptr;
    }
    const auto position = placements_.begin() + index;
    QLayoutItem* item = position->item.release();
    placements_.erase(position);
    invalidate();
    return item;
}

int AnchorLayout::count() const {
    return static_cast<int>(placements_.size());
}

QSize AnchorLayout::sizeHint() const {
    return designSize_;
}

// The parent's own minimum size decides how small it may get; the children follow their anchors.
QSize AnchorLayout::minimumSize() const {
    return QSize(0, 0);
}

void AnchorLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    for (const Placement& placement : placements_) {
        const QRect target =
            AnchoredRect(placement.designRect, placement.anchors, designSize_, rect.size());
        // Exact pixels: a widget item would bend the rectangle to the control's size hints.
        if (QWidget* control = placement.item->widget()) {
            control->setGeometry(target.translated(rect.topLeft()));
        } else {
            placement.item->setGeometry(target.translated(rect.topLeft()));
        }
    }
}
