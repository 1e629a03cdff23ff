// UiWidgets: the small building blocks every window of the program shares.
#pragma once

#include <QString>
#include <QStringList>
#include <initializer_list>

class QFontMetrics;
class QLabel;
class QPushButton;
class QTableView;
class QWidget;

// A button with a picture and a text from the string table; `name` is its object name.
QPushButton* makeImageButton(const QString& name, int textId, int pictureId, QWidget* parent);
// The window title every dialog without one of its own carries: the product name (68).
void setProductTitle(QWidget* window);
// A read-only table chosen by whole rows, one at a time, its last column taking the room left;
// `name` is its object name.
QTableView* makeRowTable(const QString& name, QWidget* parent);
// Columns `stretched` of `table` share the room its others leave, and its rows grow to show
// their wrapped texts whole, as long as there are few enough rows for that to stay quick.
void stretchAndWrap(QTableView* table, std::initializer_list<int> stretched);
// A label of text `textId` that wraps, named "heading": the line above a dialog's list.
QLabel* makeHeading(int textId, QWidget* parent);
// The width of the widest of `texts` in pixels. Only the texts with the most characters are
// measured, so thousands of header lines cost no more than a few dozen.
int widestText(const QFontMetrics& metrics, const QStringList& texts);
