#include "ui/EditorViewParts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/UiText.h"
#include "ui/UiWidgets.h"

QLabel* makeViewTitle(int textId, QWidget* view) {
    auto* title = new QLabel(loadText(textId), view);
    title->setObjectName("title");
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    title->setFont(font);
    return title;
}

QBoxLayout* makeBackRow(QWidget* view, const char* buttonId, const std::function<void()>& back) {
    auto* row = new QHBoxLayout;
    QPushButton* button = makeImageButton(buttonId, 408, 0, view);
    button->setProperty("backButton", true);
    QObject::connect(button, &QPushButton::clicked, view, back);
    row->addStretch();
    row->addWidget(button);
    return row;
}
