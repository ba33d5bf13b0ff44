#pragma once
// The records the setup store owns: one per pin type and one per default property.

#include "setup/setup_types.h"

#include <string>

// Defaults for new pins of one electrical type. A load text is empty (no load), "*", or a
// decimal number accepted by IsValidNegativeLoad (Iil, Ioh) or IsValidPositiveLoad (Iih, Iol).
class CPFCoreSetupPinLoad {
public:
    CPFCoreSetupPinLoad();
    explicit CPFCoreSetupPinLoad(std::string pinType);

    PFPinPosition Position;
    std::string Iil; // input current, low level
    std::string Iih; // input current, high level
    std::string Iol; // output current, low level
    std::string Ioh; // output current, high level
    std::string PinType;
};

// A default property attached to new symbols, pins, packages or part-table entries.
class CPFCoreSetupProperty {
public:
    CPFCoreSetupProperty();
    explicit CPFCoreSetupProperty(std::string name);

    std::string Name;
    std::string Value;
    int Type;     // PFSetupPropertyContext bits
    int Required; // 1 required, 0 optional
    PFPropertyVisibility Visibility;
    PFPropertyAlignment Alignment;
};
