#include "ui/CFirmwareUpdateCommand.h"

#include "basalt/KvTrace.h"
#include "panel_link/CFirmwareUpdater.h"
#include "ui/IFileDialogs.h"
#include "ui/UiText.h"

CFirmwareUpdateCommand::CFirmwareUpdateCommand(IUpdatePrompt& prompt, IFileDialogs& files,
                                               std::shared_ptr<CUsbBackend> backend,
                                               CUsbHandler::WaitDialogFactory progressDialogs)
    : m_prompt(prompt), m_files(files), m_backend(std::move(backend)), m_dialogs(std::move(progressDialogs)) {}

bool CFirmwareUpdateCommand::run() {
    printk("\n CExtendedControlsDlg::usbUpdate");
    const QString manifest = m_files.openManifest();
    CFirmwareUpdater updater(m_prompt, m_backend);
    // An empty choice is refused here too, with its own message.
    if (!updater.prepare(toKvWString(manifest))) return false;
    std::unique_ptr<IModalWaitDialog> dialog = m_dialogs ? m_dialogs() : nullptr;
    return dialog && updater.update(*dialog);
}
