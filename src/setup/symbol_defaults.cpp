#include "setup/setup_store.h"

#include "setup/setting_tables.h"

using pfsetup::SettingWord;
using pfsetup::WordList;

int CPFCoreSetupAPI::GetDefUnits(PFSymbolSizeUnits& units) const {
    units = DefUnits;
    return 1;
}

// Inches is the only unit, whatever the field holds.
int CPFCoreSetupAPI::GetDefUnits(std::string& units) const {
    units = pfsetup::kUnitWords[0].text;
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
    outline = WordList(pfsetup::kOutlineWords).TextOf(DefSymbolOutLine == PFThin ? PFThin : PFBold);
    return 1;
}

int CPFCoreSetupAPI::PutDefSymbolOutLine(PFSymbolOutline outline) {
    DefSymbolOutLine = outline;
    return 1;
}

int CPFCoreSetupAPI::PutDefSymbolOutLine(std::string outline) {
    if (const SettingWord* word = WordList(pfsetup::kOutlineWords).Find(outline)) {
        DefSymbolOutLine = static_cast<PFSymbolOutline>(word->value);
    }
    return 1;
}

int CPFCoreSetupAPI::GetDefTextStyle(PFTextStyle& style) const {
    style = DefTextStyle;
    return 1;
}

// A value outside the words reads as the last one.
int CPFCoreSetupAPI::GetDefTextStyle(std::string& style) const {
    const WordList words(pfsetup::kTextStyleWords);
    const char* text = words.TextOf(DefTextStyle);
    style = text ? text : words.end()[-1].text;
    return 1;
}

int CPFCoreSetupAPI::PutDefTextStyle(PFTextStyle style) {
    DefTextStyle = style;
    return 1;
}

int CPFCoreSetupAPI::PutDefTextStyle(std::string style) {
    if (const SettingWord* word = WordList(pfsetup::kTextStyleWords).Find(style)) {
        DefTextStyle = static_cast<PFTextStyle>(word->value);
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
