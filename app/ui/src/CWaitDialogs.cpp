#include "ui/CWaitDialogs.h"

#include "mica/KvProgressDlg.h"
#include "mica/KvWaitDlg.h"
#include "art/CArt.h"
#include "ui/UiText.h"

namespace {

constexpr int kAnimationSide = 48;

template <class Dialog>
std::unique_ptr<IModalWaitDialog> make(const char* name) {
    auto dialog = std::make_unique<Dialog>();
    dialog->setObjectName(name);
    dialog->setWindowTitle(loadText(68));
    const QPixmap icon = CArt::icon(128).pixmap(kAnimationSide, kAnimationSide);
    dialog->SetWaitImage(icon, icon, 0);
    return dialog;
}

}  // namespace

std::unique_ptr<IModalWaitDialog> CWaitDialogs::waitDialog() { return make<KvWaitDlg>("KvWaitDlg"); }

std::unique_ptr<IModalWaitDialog> CWaitDialogs::progressDialog() { return make<KvProgressDlg>("KvProgressDlg"); }
