#pragma once
// The texts of the current pin-type record and the current property, read in one place for
// the writers, the views and the dialog grids.

#include <string>

class CPFCoreSetupAPI;

namespace pfsetup {

struct PinTypeFields {
    std::string type, position, iil, iih, iol, ioh;
};

struct PropertyFields {
    std::string name, value, required, visibility, alignment;
    int type = 0;
};

// As the text Get operations give them; empty where one gives nothing (no current record, a
// stored value outside the texts).
PinTypeFields CurrentPinTypeFields(const CPFCoreSetupAPI& store);
PropertyFields CurrentPropertyFields(const CPFCoreSetupAPI& store);

// "Iil,Iih,Iol,Ioh,Position" with "x" for an empty load: the value of a pin-type entry and of
// its node in the settings tree.
std::string PinTypeValue(const PinTypeFields& pin);

} // namespace pfsetup
