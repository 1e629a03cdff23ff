// Zone files are outside input: any bytes must load or be refused cleanly,
// and a loaded zone must answer every lookup.
#include <cstddef>
#include <cstdint>

#include "basalt/KvTimeZone.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    KvTimeZone zone;
    if (!zone.Load(data, size, u"Fuzz/Zone")) return 0;
    // Instants across the representable range, read as UTC and as local time.
    for (std::int64_t t = 915148800; t < 5210000000; t += 86400 * 97 + 3607) {
        bool dst = false;
        zone.OffsetAt(t, true, 0, &dst);
        for (int ambiguity = 0; ambiguity <= 2; ++ambiguity) zone.OffsetAt(t, false, ambiguity);
    }
    return 0;
}
