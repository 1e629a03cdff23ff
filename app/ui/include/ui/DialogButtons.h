// DialogButtons: the OK (text 87, picture 142) and Cancel (text 37, picture 143) row of the
// event-action editor's dialogs, named "1" and "2", wired to accept() and reject().
#pragma once

class QBoxLayout;
class QDialog;

QBoxLayout* makeOkCancelRow(QDialog* dialog);
