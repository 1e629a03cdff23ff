#include "mica/EzCreateFont.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace {

constexpr double kUiFontDeciPoints = 80.0;  // the other desktop's UI font size

void applyFace(QFont& font, const QString& face) {
    const QString key = face.trimmed().toLower();
    if (key == u"arial" || key == u"helvetica") {
        font.setFamily(QStringLiteral("Sans Serif"));
        font.setStyleHint(QFont::SansSerif);
    } else if (key == u"times new roman" || key == u"times") {
        font.setFamily(QStringLiteral("Serif"));
        font.setStyleHint(QFont::Serif);
    } else if (key == u"courier new" || key == u"courier") {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    } else {
        font.setFamily(face);
    }
}

}  // namespace

bool EzIsUiFontName(const QString& faceName) {
    const QString key = faceName.trimmed().toLower();
    return key.isEmpty() || key == u"ms sans serif" || key == u"ms shell dlg" || key == u"ms shell dlg 2";
}

QFont EzCreateFont(const QString& faceName, int deciPtHeight, int deciPtWidth, int attributes) {
    QFont font = QGuiApplication::font();
    if (EzIsUiFontName(faceName)) {
        if (deciPtHeight > 0 && font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * deciPtHeight / kUiFontDeciPoints);
    } else {
        applyFace(font, faceName);
        if (deciPtHeight > 0) font.setPointSizeF(deciPtHeight / 10.0);
    }
    if (deciPtWidth > 0 && deciPtHeight > 0) font.setStretch(qBound(1, deciPtWidth * 100 / deciPtHeight, 4000));
    font.setBold(attributes & EZ_ATTR_BOLD);
    font.setItalic(attributes & EZ_ATTR_ITALIC);
    font.setUnderline(attributes & EZ_ATTR_UNDERLINE);
    font.setStrikeOut(attributes & EZ_ATTR_STRIKEOUT);
    return font;
}
