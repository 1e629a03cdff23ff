#include "panel_link/RunWorker.h"

#include <system_error>
#include <thread>

#include "basalt/KvTrace.h"

bool runWorker(IModalWaitDialog& dialog, const WorkerTask& work, std::chrono::milliseconds settle) {
    printk("\n runWorker");
    bool result = false;
    std::thread worker;
    try {
        worker = std::thread([&] {
            while (!dialog.IsOK()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (settle.count() > 0) std::this_thread::sleep_for(settle);
            result = work(dialog);
            dialog.Done();
        });
    } catch (const std::system_error&) {
        printk("\n runWorker: no thread");
        return false;
    }
    dialog.RunModal();
    worker.join();
    return result;
}
