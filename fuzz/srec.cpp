// Arbitrary bytes as an S-record file, for each image kind.
#include <cstddef>
#include <cstdint>

#include "panel_link/CFirmwareImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    CFirmwareImage images[] = {CFirmwareImage::mainBoardApplet(), CFirmwareImage::loopCardApplet(),
                               CFirmwareImage::loopCardFirmware()};
    for (CFirmwareImage& image : images) {
        if (image.parse(text, size)) {
            for (int i = 0; i < image.pieceCount(64); ++i) image.piece(i, 64);
        }
    }
    return 0;
}
