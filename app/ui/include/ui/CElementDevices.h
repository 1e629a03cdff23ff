// CElementDevices: how the loops editor names and builds the parts of a device: the default
// label ("Element 12") and description (the type's part word and the part number), and the
// composite mode and generic type of each part.
#pragma once

#include <QString>

class CFacilityManager;

class CElementDevices {
public:
    static constexpr int kLabelText = 45;
    static constexpr int kMostAddress = 250;

    // String-table text of the part word of part `part` (0-based) of a device of `type`.
    static int partWordText(int type, int part);
    // "%s %d": the part word and the part number (1-based).
    static QString partDescription(int type, int part);
    // "%s %d": the element word and the address.
    static QString label(int address);
    // 0 for a single-address device; 1 first, 2 middle, 3 last part otherwise.
    static int compositeMode(int type, int part);

    // Adds part `part` of a device of `type` at `address`, with its label, the description
    // `description` (empty: the part's default), composite mode, generic type and zone (0: none).
    // False when the manager refuses it (the address is taken).
    static bool addPart(CFacilityManager& facility, int panel, int loop, int address, int type, int part, int zone,
                        const QString& description);
    // Sets the composite mode and generic type that part `part` of a device of `type` has.
    static void markPart(CFacilityManager& facility, int panel, int loop, int address, int type, int part);

    // The first and last address of the device that the element at `address` belongs to
    // (the element alone when it is a single device).
    static void deviceBounds(const CFacilityManager& facility, int panel, int loop, int address, int& first, int& last);
};
