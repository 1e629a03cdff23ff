// runWorker: the one way a transfer runs behind a wait dialog.
//
// The calling (user-interface) thread gives the dialog its first text, then calls runWorker:
// a worker thread waits until the dialog is up, lets it settle for `settle`, runs `work` with
// the dialog for its texts and progress, and ends the dialog; meanwhile the calling thread
// runs the dialog modally and returns once the worker has joined.
//
// The work does panel I/O only. The facility model belongs to the calling thread: whatever
// the work needs of it is taken before, and whatever it changes is applied after, runWorker.
#pragma once

#include <chrono>
#include <functional>

#include "seams/IModalWaitDialog.h"

// What the worker runs; its result is runWorker's.
using WorkerTask = std::function<bool(IWaitDialog& dialog)>;

constexpr std::chrono::milliseconds kDialogSettleTime{100};

// The work's result; false without running it when no worker thread could be started.
bool runWorker(IModalWaitDialog& dialog, const WorkerTask& work,
               std::chrono::milliseconds settle = kDialogSettleTime);
