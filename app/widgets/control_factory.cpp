#include "app/widgets/control_factory.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

void NameControl(QWidget& control, const char* name, const char* hint) {
    control.setObjectName(QString::fromLatin1(name));
    if (hint != nullptr) {
        control.setToolTip(QString::fromLatin1(hint));
    }
}

QFrame* NewPanel(const char* name) {
    auto* panel = new QFrame;
    NameControl(*panel, name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    return panel;
}

QLabel* NewLabel(const char* name, const char* caption, const char* hint, QWidget* buddy) {
    auto* label = new QLabel(QString::fromLatin1(caption));
    NameControl(*label, name, hint);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setBuddy(buddy);
    return label;
}

QPushButton* NewPushButton(const char* name, const char* caption, const char* hint,
                           const QIcon& image, int imageSize) {
    auto* button = new QPushButton(QString::fromLatin1(caption));
    NameControl(*button, name, hint);
    if (!image.isNull()) {
        button->setIcon(image);
        button->setIconSize(QSize(imageSize, imageSize));
    }
    return button;
}

QToolButton* NewToolButton(const char* name, const char* caption, const char* hint) {
    auto* button = new QToolButton;
    NameControl(*button, name, hint);
    button->setText(QString::fromLatin1(caption));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QToolButton* NewToolButton(const char* name, const QIcon& image, int imageSize, const char* hint) {
    auto* button = new QToolButton;
    NameControl(*button, name, hint);
    button->setIcon(image);
    button->setIconSize(QSize(imageSize, imageSize));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QPlainTextEdit* NewTextArea(const char* name, const char* hint) {
    auto* area = new QPlainTextEdit;
    NameControl(*area, name, hint);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setTabChangesFocus(true);
    area->setFocusPolicy(Qt::StrongFocus);
    return area;
}
