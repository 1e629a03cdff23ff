// CFrameServices: what the frame is given from outside: how it speaks to the
// user, how files are chosen, which USB bus it uses and how wait dialogs are made.
// The program passes the real ones; tests pass scripted ones.
#pragma once

#include <memory>

#include "panel_link/CUsbHandler.h"
#include "seams/IUpdatePrompt.h"

class IFileDialogs;
class CUsbBackend;

struct CFrameServices {
    IUpdatePrompt& prompt;
    IFileDialogs& files;
    // The bus of the panel (the program's main chooses it).
    std::shared_ptr<CUsbBackend> backend;
    // The wait dialog of a transfer and the progress dialog of a firmware update;
    // null gives the toolkit's own.
    CUsbHandler::WaitDialogFactory waitDialogs;
    CUsbHandler::WaitDialogFactory progressDialogs;
};
