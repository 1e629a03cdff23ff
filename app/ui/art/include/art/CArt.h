// CArt: the program's own pictures (icon, splash, button pictures, the editors' image list),
// drawn as SVG and compiled into the library, so they are crisp at any size and need no files.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

class CArt {
public:
    // Side length of the editors' image list pictures at 1x.
    static constexpr int kImageListSize = 21;
    // The "used" variant of image list picture i is i + kUsedInput (input tree) or i + kUsedOutput (output tree).
    static constexpr int kUsedInput = 31;
    static constexpr int kUsedOutput = 62;
    // Base pictures 0 to kImageListBase - 1: element-type parts 0 to 26, facility 27, panel 28, loop 29.
    static constexpr int kImageListBase = 30;

    // Program icon 128, button pictures 142 to 145, home-view pictures 164 to 187; a null icon for any other id.
    static QIcon icon(int pictureId);

    // The splash picture, 410 x 355, without text: the program writes its texts onto it.
    static QPixmap splash();

    // Image list picture: 0-29 base, 31-60 used in the input tree, 62-91 used in the output tree;
    // a null icon for any other index (30, 61 and 92 included). A used picture is its base with a frame and
    // a ticked badge: blue on the input side, green on the output side.
    static QIcon imageList(int index);

    // Resource path of the program icon's SVG, for window icons and desktop integration.
    static QString iconPath();
};
