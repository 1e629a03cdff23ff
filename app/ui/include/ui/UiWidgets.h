// UiWidgets: the small building blocks every window of the program shares.
#pragma once

#include <QString>

class QPushButton;
class QWidget;

// A button with a picture and a text from the string table; `name` is its object name.
QPushButton* makeImageButton(const QString& name, int textId, int pictureId, QWidget* parent);
// The window title every dialog without one of its own carries: the product name (68).
void setProductTitle(QWidget* window);
