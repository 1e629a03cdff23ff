// replaceFile: writes a whole file so that readers see either the old or the new content.
#pragma once

#include <string>

// Writes `bytes` to a temporary file beside `target`, flushes it to disk and renames it over
// `target` (through a symbolic link, the file it points at). Missing folders are created. On
// any failure the temporary file is removed, `target` is untouched and the result is false.
bool replaceFile(const std::string& target, const std::string& bytes);
