#include "setup/setup_store.h"

int CPFCoreSetupAPI::GetDefUnits(PFSymbolSizeUnits& units) const {
    units = DefUnits;
    return 1;
}

// Inches is the only unit, whatever the field holds.
int CPFCoreSetupAPI::GetDefUnits(std::string& units) const {
    units = "Inches";
    return 1;
}

int CPFCoreSetupAPI::PutDefUnits(PFSymbolSizeUnits units) {
    DefUnits = units;
    return 1;
}

int CPFCoreSetupAPI::PutDefUnits(std::string /*units*/) {
    DefUnits = PFInches;
    return 1;
}

int CPFCoreSetupAPI::GetDefGridSize(float& size) const {
    size = DefGridSize;
    return 1;
}

int CPFCoreSetupAPI::PutDefGridSize(float size) {
    DefGridSize = size;
    return 1;
}

int CPFCoreSetupAPI::GetDefNoteSize(float& size) const {
    size = DefNoteSize;
    return 1;
}

int CPFCoreSetupAPI::PutDefNoteSize(float size) {
    DefNoteSize = size;
    return 1;
}

int CPFCoreSetupAPI::GetDefSymbolOutLine(PFSymbolOutline& outline) const {
    outline = DefSymbolOutLine;
    return 1;
}

int CPFCoreSetupAPI::GetDefSymbolOutLine(std::string& outline) const {
    outline = DefSymbolOutLine == PFThin ? "Thin" : "Bold";
    return 1;
}

int CPFCoreSetupAPI::PutDefSymbolOutLine(PFSymbolOutline outline) {
    DefSymbolOutLine = outline;
    return 1;
}

int CPFCoreSetupAPI::PutDefSymbolOutLine(std::string outline) {
    if (outline == "Bold") {
        DefSymbolOutLine = PFBold;
    } else if (outline == "Thin") {
        DefSymbolOutLine = PFThin;
    }
    return 1;
}

int CPFCoreSetupAPI::GetDefTextStyle(PFTextStyle& style) const {
    style = DefTextStyle;
    return 1;
}

int CPFCoreSetupAPI::GetDefTextStyle(std::string& style) const {
    switch (DefTextStyle) {
    case PFAutomatic:
        style = "Automatic";
        break;
    case PFHorizontal:
        style = "Horizontal";
        break;
    default:
        style = "Vertical";
        break;
    }
    return 1;
}

int CPFCoreSetupAPI::PutDefTextStyle(PFTextStyle style) {
    DefTextStyle = style;
    return 1;
}

int CPFCoreSetupAPI::PutDefTextStyle(std::string style) {
    if (style == "Automatic") {
        DefTextStyle = PFAutomatic;
    } else if (style == "Horizontal") {
        DefTextStyle = PFHorizontal;
    } else if (style == "Vertical") {
        DefTextStyle = PFVertical;
    }
    return 1;
}

int CPFCoreSetupAPI::GetDefSymbolWidth(int& width) const {
    width = DefSymbolWidth;
    return 1;
}

int CPFCoreSetupAPI::PutDefSymbolWidth(int width) {
    DefSymbolWidth = width;
    return 1;
}

int CPFCoreSetupAPI::GetDefSymbolLength(int& length) const {
    length = DefSymbolLength;
    return 1;
}

int CPFCoreSetupAPI::PutDefSymbolLength(int length) {
    DefSymbolLength = length;
    return 1;
}

int CPFCoreSetupAPI::GetDefSymbolWidthIncrement(int& increment) const {
    increment = DefSymbolWidthIncrement;
    return 1;
}

int CPFCoreSetupAPI::PutDefSymbolWidthIncrement(int increment) {
    DefSymbolWidthIncrement = increment;
    return 1;
}

int CPFCoreSetupAPI::GetDefSymbolLengthIncrement(int& increment) const {
    increment = DefSymbolLengthIncrement;
    return 1;
}

int CPFCoreSetupAPI::PutDefSymbolLengthIncrement(int increment) {
    DefSymbolLengthIncrement = increment;
    return 1;
}
