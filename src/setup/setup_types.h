#pragma once
// Enumerations shared with hosts and project files. Their numeric values are fixed: they cross
// the library boundary and several are written to project files as numbers. They stay
// unscoped so they convert to int, and have int as their underlying type because the store
// keeps any value a host puts, including values outside the listed ones.

enum PFSymbolSizeUnits : int {
    PFInches = 1,
};

enum PFSymbolOutline : int {
    PFThin = 1,
    PFBold = 2,
};

enum PFTextStyle : int {
    PFAutomatic = 1,
    PFHorizontal = 2,
    PFVertical = 3,
};

// Side of the symbol on which pins of a type are placed.
enum PFPinPosition : int {
    PFBottom = 1,
    PFLeft = 2,
    PFRight = 3,
    PFTop = 4,
};

// Notation of low-asserted pin names. 0 is accepted on input and means the default
// (PFActiveLow_Suffix_Star_And_N for reading, PFActiveLow_Suffix_Star for writing).
enum PFActiveLow : int {
    PFActiveLow_Suffix_Star_And_N = 1,
    PFActiveLow_Suffix_Star = 2,
    PFActiveLow_Suffix_N = 3,
};

// Pin-name interpretations: BN base name, B bit, S slot, G group, in the order in which the
// parts appear in the name.
enum PFPinInterpret_AlphaNum : int {
    PFAlphaNum_BN = 1,
    PFAlphaNum_BN_B = 2,
    PFAlphaNum_BN_S = 3,
};

enum PFPinInterpret_NumAlpha : int {
    PFNumAlpha_BN = 1,
    PFNumAlpha_G_BN = 2,
    PFNumAlpha_B_BN = 3,
    PFNumAlpha_S_BN = 4,
};

enum PFPinInterpret_NumAlphaNum : int {
    PFNumAlphaNum_BN = 1,
    PFNumAlphaNum_BN_B = 2,
    PFNumAlphaNum_BN_S = 3,
    PFNumAlphaNum_B_BN = 4,
    PFNumAlphaNum_S_BN = 5,
    PFNumAlphaNum_G_BN = 6,
    PFNumAlphaNum_G_BN_B = 7,
    PFNumAlphaNum_G_BN_S = 8,
};

// Bit set: the contexts a property applies to, and the filter of the property iteration.
// 0x40 has no meaning.
enum PFSetupPropertyContext : int {
    PFSetupContextAll = 0,
    PFSetupContextSymbol = 0x01,
    PFSetupContextSymbolPin = 0x02,
    PFSetupContextPackage = 0x04,
    PFSetupContextPackagePin = 0x08,
    PFSetupContextPtfGlobal = 0x10,
    PFSetupContextPtfPackage = 0x20,
    PFSetupContextPtfPhysical = 0x80,
};

// The single context a host asks about; combinations of the bits above map to PFContextNone.
enum PFPropertyContext : int {
    PFContextNone = 0,
    PFContextSymbol = 1,
    PFContextSymbolPin = 2,
    PFContextPackage = 3,
    PFContextPackagePin = 4,
};

enum PFPropertyVisibility : int {
    PFVisibleName = 1,
    PFVisibleValue = 2,
    PFVisibleBoth = 3,
    PFInvisible = 4,
};

enum PFPropertyAlignment : int {
    PFAlignLeft = 1,
    PFAlignRight = 2,
    PFAlignCenter = 3,
};
