// CEventActionGroup: rules whose event (or action) sides name the same selection.
#pragma once

#include <cstdint>
#include <vector>

class CEventActionItem;

struct CEventActionGroup {
    std::intptr_t key = 0;                  // the editor's tree node for the group; 0 from a file
    std::vector<CEventActionItem*> rules;   // not owned; may become empty
};
