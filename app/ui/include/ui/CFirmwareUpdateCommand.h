// CFirmwareUpdateCommand: the firmware update, from the manifest choice to the outcome message.
//
// The user chooses the update manifest; the files it names are checked before
// anything is sent; the update then runs on a worker behind the progress
// dialog, and its messages come through the prompt from that worker.
#pragma once

#include <memory>

#include "panel_link/CUsbHandler.h"

class IFileDialogs;
class IUpdatePrompt;
class CUsbBackend;

class CFirmwareUpdateCommand {
public:
    CFirmwareUpdateCommand(IUpdatePrompt& prompt, IFileDialogs& files, std::shared_ptr<CUsbBackend> backend,
                           CUsbHandler::WaitDialogFactory progressDialogs);

    // True when every requested part was updated.
    bool run();

private:
    IUpdatePrompt& m_prompt;
    IFileDialogs& m_files;
    std::shared_ptr<CUsbBackend> m_backend;
    CUsbHandler::WaitDialogFactory m_dialogs;
};
