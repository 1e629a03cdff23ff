// EditorViewParts: the pieces both editor views share.
#pragma once

#include <functional>

class QBoxLayout;
class QLabel;
class QWidget;

// The view's heading, string-table text `textId`.
QLabel* makeViewTitle(int textId, QWidget* view);
// The row with the Back button (`buttonId`, text 408) at its right; `back` runs on a click.
// The button carries the property "backButton" so that others can find it whatever its number.
QBoxLayout* makeBackRow(QWidget* view, const char* buttonId, const std::function<void()>& back);
