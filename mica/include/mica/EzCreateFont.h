// EzCreateFont: a font by face name, size and attributes.
//
// Sizes are in tenths of a point; 0 keeps the face's default size. A width of
// 0 keeps the face's own proportions; another width stretches it by width /
// height (500 on 500 is the natural shape). The other desktop's UI font names
// ("MS Sans Serif", "MS Shell Dlg", or no name) stand for this desktop's UI
// font, and their 8 points for its size: 12 points there is 1.5 times the
// desktop's size. "Arial" and "Helvetica" map to the sans-serif face, "Times
// New Roman" to the serif one, "Courier New" and "Courier" to the fixed-pitch one.
#pragma once

#include <QFont>
#include <QString>

enum EzFontAttribute {
    EZ_ATTR_NONE = 0,
    EZ_ATTR_BOLD = 1,
    EZ_ATTR_ITALIC = 2,
    EZ_ATTR_UNDERLINE = 4,
    EZ_ATTR_STRIKEOUT = 8,
};

QFont EzCreateFont(const QString& faceName, int deciPtHeight, int deciPtWidth = 0, int attributes = EZ_ATTR_NONE);

// True for the names that stand for the desktop's UI font.
bool EzIsUiFontName(const QString& faceName);
