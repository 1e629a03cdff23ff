// The panel the transfer benchmarks move: panel 1 (address 1) with 250 zones and 8 full loops of
// 250 elements of every type. Each benchmark adds the rules it needs.
#pragma once

#include "FacilityBuilder.h"

inline void addFullPanel(FacilityBuilder& b) {
    b.panel(1, 1).zones(250);
    for (int l = 1; l <= 8; ++l) {
        b.loop(l);
        for (int a = 1; a <= 250; ++a) b.element(a, 1 + a % 18, 1 + a % 250);
    }
}
