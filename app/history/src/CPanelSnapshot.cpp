#include "history/CPanelSnapshot.h"

#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"
#include "panel_link/CPanelImage.h"

bool CPanelSnapshot::fromImage(const CPanelImage& image, int panelId, int address, CFacilityManager& into) {
    printk("\n CPanelSnapshot::fromImage");
    CPanelImage copy(image);  // adding counts refused elements into the image
    return copy.addTo(into, panelId, address, 1);
}

bool CPanelSnapshot::fromFacility(CFacilityManager& facility, int panelId, CFacilityManager& into,
                                  std::string& problem) {
    printk("\n CPanelSnapshot::fromFacility");
    CPanelImage image;
    if (!image.build(facility, panelId, problem)) return false;
    return image.addTo(into, panelId, image.address, 1);
}
