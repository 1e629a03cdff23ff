// EditorViewParts: the pieces both editor views share.
#pragma once

#include <functional>

class QBoxLayout;
class QLabel;
class QWidget;

// The view's heading, string-table text `textId`.
QLabel* makeViewTitle(int textId, QWidget* view);
// The row with the Back button (1107, text 408) at its right; `back` runs on a click.
QBoxLayout* makeBackRow(QWidget* view, const std::function<void()>& back);
