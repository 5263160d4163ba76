// Places each child at a fixed rectangle of a designed parent and, when the parent is resized,
// keeps the child's distance to the parent edges it is anchored to: anchored to both left and
// right it stretches, to the right only it moves; the same for top and bottom.
#pragma once

#include <QLayout>
#include <QRect>
#include <QSize>
#include <memory>
#include <vector>

enum Anchor : unsigned {
    AnchorLeft = 1u,
    AnchorTop = 2u,
    AnchorRight = 4u,
    AnchorBottom = 8u,
};
using Anchors = unsigned;

inline constexpr Anchors kDefaultAnchors = AnchorLeft | AnchorTop;
inline constexpr Anchors kAllAnchors = AnchorLeft | AnchorTop | AnchorRight | AnchorBottom;

// Where a child designed at `designRect` in a parent of `designSize` goes in a parent of
// `parentSize`.
QRect AnchoredRect(const QRect& designRect, Anchors anchors, const QSize& designSize,
                   const QSize& parentSize);

class AnchorLayout : public QLayout {
public:
    // `parent` is laid out over its whole rectangle, frame included, as the design measures it.
    AnchorLayout(QWidget* parent, const QSize& designSize);
    ~AnchorLayout() override;

    // Makes `control` a child of the parent and places it.
    void AddControl(QWidget* control, const QRect& designRect, Anchors anchors = kDefaultAnchors);

    // An item added the ordinary way keeps its current geometry, anchored left and top.
    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Placement {
        std::unique_ptr<QLayoutItem> item;
        QRect designRect;
        Anchors anchors;
    };

    QSize designSize_;
    std::vector<Placement> placements_;
};
