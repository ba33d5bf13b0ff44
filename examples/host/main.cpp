// A host of the setup store: it reads the defaults it applies when it builds a part, and asks
// the pin-name questions it asks for every pin. Prints "ok" when every default is as shipped.

#include "pfsetup.h"

#include <cstdio>
#include <string>

int main() {
    CPFCoreSetupAPI store;
    int failures = 0;
    auto expect = [&failures](bool ok, const char* what) {
        if (!ok) {
            std::printf("unexpected: %s\n", what);
            ++failures;
        }
    };
    float grid = 0, note = 0;
    int width = 0, length = 0, widthIncrement = 0, lengthIncrement = 0;
    PFSymbolOutline outline{};
    PFTextStyle style{};
    PFActiveLow read{}, write{};
    PFPinInterpret_AlphaNum a{};
    PFPinInterpret_NumAlpha n{};
    PFPinInterpret_NumAlphaNum t{};
    store.GetDefGridSize(grid);
    store.GetDefNoteSize(note);
    store.GetDefSymbolWidth(width);
    store.GetDefSymbolLength(length);
    store.GetDefSymbolWidthIncrement(widthIncrement);
    store.GetDefSymbolLengthIncrement(lengthIncrement);
    store.GetDefSymbolOutLine(outline);
    store.GetDefTextStyle(style);
    store.GetDefReadActiveLowPinNotation(read);
    store.GetDefWriteActiveLowPinNotation(write);
    store.GetAlphaNumValue(a);
    store.GetNumAlphaValue(n);
    store.GetNumAlphaNumValue(t);
    expect(grid == 0.05f && note == 0.8f, "grid 0.05 and note size 0.8");
    expect(width == 6 && length == 6, "width and length 6");
    expect(widthIncrement == 1 && lengthIncrement == 1, "pin spacings 1");
    expect(outline == PFThin && style == PFAutomatic, "thin outline, automatic text");
    expect(read == 1 && write == 2, "read notation 1, write notation 2");
    expect(a == 2 && n == 1 && t == 1, "interpretations 2, 1, 1");
    int pins = 0;
    store.InitPinIteration();
    while (store.GetNextPin())
        ++pins;
    expect(pins == 13, "13 pin types");
    expect(store.InitPropertyIteration() == 0, "no properties");
    std::string name;
    expect(store.GetCPMFileName(name) == 0, "no project file");
    expect(store.IsPinReadActiveLow("RESET*") == 1, "RESET* is low-asserted");
    std::string pin = "CLK";
    store.CreateActiveLowPin(pin);
    expect(pin == "CLK*", "CLK* is the active-low form of CLK");
    std::puts(failures ? "failed" : "ok");
    return failures ? 1 : 0;
}
