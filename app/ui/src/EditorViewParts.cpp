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

QBoxLayout* makeBackRow(QWidget* view, const std::function<void()>& back) {
    auto* row = new QHBoxLayout;
    QPushButton* button = makeImageButton("1107", 408, 0, view);
    QObject::connect(button, &QPushButton::clicked, view, back);
    row->addStretch();
    row->addWidget(button);
    return row;
}
