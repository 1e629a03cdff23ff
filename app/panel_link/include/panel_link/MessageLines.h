// Lines for a message box: at most `shown` of them, each after a line break, then "(+N)" for
// the rest, so that a long list never outgrows the screen.
#pragma once

#include <string>
#include <vector>

#include "basalt/KvBasicString.h"

KvWString messageLines(const std::vector<std::string>& lines, std::size_t shown);
