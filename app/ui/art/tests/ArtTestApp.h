// The pictures need a GUI application; the tests run it on the offscreen platform.
#pragma once

void ensureGuiApplication();
