#include "ui/UiWidgets.h"

#include <QPushButton>

#include "art/CArt.h"
#include "ui/UiText.h"

QPushButton* makeImageButton(const QString& name, int textId, int pictureId, QWidget* parent) {
    auto* button = new QPushButton(CArt::icon(pictureId), loadText(textId), parent);
    button->setObjectName(name);
    return button;
}

void setProductTitle(QWidget* window) { window->setWindowTitle(loadText(68)); }
