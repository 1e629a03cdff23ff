// The GUI application object that cairnctl's printing commands need for fonts and PDF
// painting, without a display.
#pragma once

// Makes it once (on the offscreen platform unless the environment names one) and keeps it;
// Qt's own notes go to the trace. False when another kind of application object exists.
bool cairnctlGuiApplication();
