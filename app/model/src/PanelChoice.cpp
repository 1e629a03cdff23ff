#include "model/PanelChoice.h"

#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"
#include "seams/IUserPrompt.h"

int askPanelChoice(CFacilityManager& facility, IUserPrompt& prompt, bool several) {
    printk("\n askPanelChoice");
    for (int i = 0; i < facility.getNumberOfPanels(); ++i) facility.setPanelSelected(facility.getPanelId(i), false);
    if (!prompt.choosePanels(facility, several)) return kPanelChoiceCancelled;
    for (int i = 0; i < facility.getNumberOfPanels(); ++i)
        if (facility.getPanelSelected(facility.getPanelId(i))) return facility.getPanelId(i);
    return 0;
}
