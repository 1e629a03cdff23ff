// CFacilityEvents: the model's view updates as Qt signals, so the frame routes them like any
// other request of a view.
#pragma once

#include <QObject>
#include <cstdint>

#include "seams/IFacilityObserver.h"

class CFacilityEvents : public QObject, public IFacilityObserver {
    Q_OBJECT
public:
    using QObject::QObject;

    void loopsChanged(bool expandAll) override { emit loopsRebuildRequested(expandAll); }
    void groupEmptied(std::intptr_t key, int imageDrop) override { emit groupImageLowered(key, imageDrop); }
    void historyChanged() override { emit undoHistoryChanged(); }

signals:
    // The loops view must rebuild from the model (element types changed).
    void loopsRebuildRequested(bool expandAll);
    // The event-action view lowers the image of group node `key` by `imageDrop`.
    void groupImageLowered(qintptr key, int imageDrop);
    // Something was recorded, undone or redone, or the history emptied.
    void undoHistoryChanged();
};
