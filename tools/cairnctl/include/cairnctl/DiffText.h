// DiffText: a facility difference on cairnctl's output, in English lines or as JSON.
#pragma once

#include <ostream>

class CFacilityDiff;

// One line per change, texts from the files escaped so they cannot drive the terminal; or the
// JSON document of the difference on one line.
void printDiff(std::ostream& out, const CFacilityDiff& diff, bool json);
