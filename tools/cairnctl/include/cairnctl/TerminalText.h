// TerminalText: text from a file made safe to print on a terminal, one line per record.
#pragma once

#include <string>

#include "basalt/KvBasicString.h"

// UTF-8 of `text` with everything that could move the cursor, change the terminal's state,
// start a new line or reorder what is shown written as an escape: \n, \r, \t, \\, \", \xHH for
// other control characters and DEL, \uHHHH for C1 controls, line and paragraph separators,
// bidirectional controls and lone surrogates. Plain text passes unchanged.
std::string terminalText(const KvWString& text);
