// The Symbol, Format and Pin Name Interpretation pages, driven through the sheet's controls.
#include "dialog_driver.h"

#include "persist/setting_checks.h"
#include "setup/setting_rules.h"

#include <QLocale>

#include <tuple>

namespace pfsetup::test {
namespace {

using Ids = CSymbolPP;

class SymbolPage : public DialogDriver {};

// The store's values in the controls, the lists sorted, and what the user leaves on the page
// moved back; a page never shown moves nothing.
TEST_F(SymbolPage, LoadsAndTransfers) {
    CSymbolPP unopened(store);
    TransferSymbolPage(unopened);
    EXPECT_EQ(Get(store, &Store::GetDefSymbolWidth), 6);

    store.PutDefSymbolOutLine(PFBold);
    store.PutDefTextStyle(PFVertical);
    store.PutUseSplitInstProp(0);
    Open(CSetupPropSheet::kSymbolPage);
    auto* style = Control<QComboBox>(Ids::kTextStyle);
    ASSERT_EQ(style->count(), 3);
    EXPECT_EQ(style->itemText(1), "Horizontal");
    EXPECT_EQ(style->currentText(), "Vertical");
    EXPECT_EQ(Control<QComboBox>(Ids::kOutline)->currentText(), "Bold");
    EXPECT_EQ(Control<QLineEdit>(Ids::kGridSize)->text(), "0.05");
    EXPECT_EQ(Control<QLineEdit>(Ids::kPinTextSize)->text(), "0.8");
    EXPECT_EQ(States({Ids::kUseSplitInst, Ids::kUseSplitInstName, Ids::kUsePinNames}), "oxx");
    EXPECT_EQ(Control<QAbstractButton>(Ids::kUseSplitInst)->text(), "Use S&PLIT_INST && $LOCATION");

    Type(Ids::kGridSize, "0.1");
    Type(Ids::kMinWidth, "8");
    Type(Ids::kMinHeight, "9");
    Type(Ids::kPinSpacingTopBottom, "2");
    Choose(Ids::kOutline, "Thin");
    Choose(Ids::kTextStyle, "H");
    Click(Ids::kUsePinNames);
    Click(Ids::kUseSplitInst);
    ClickTab(CSetupPropSheet::kPinPage);
    ASSERT_TRUE(host.messages.empty());
    TransferSymbolPage(sheet->m_SymbolPage);
    EXPECT_FLOAT_EQ(Get(store, &Store::GetDefGridSize), 0.1f);
    EXPECT_EQ(Get(store, &Store::GetDefSymbolWidth), 8);
    EXPECT_EQ(Get(store, &Store::GetDefSymbolLength), 9);
    EXPECT_EQ(Get(store, &Store::GetDefSymbolWidthIncrement), 2);
    EXPECT_EQ(Get(store, &Store::GetDefSymbolOutLine), "Thin");
    EXPECT_EQ(Get(store, &Store::GetDefTextStyle), "Horizontal");
    EXPECT_EQ(store.GetUsePinNamesForText(), 0);
    EXPECT_EQ(store.GetUseSplitInstProp(), 1);
}

// The page's own checks in their order, then each field through the check of its key.
TEST_F(SymbolPage, LeavingChecksTheSizesInOrder) {
    const std::string overlap = "\nError - Since pin text size is greater than the pin "
                                "spacing,\npin text and symbol pin properties may get overlapped.";
    const std::string spacing = FieldRefusal("Symbol_PinSpacing_LeftRight", "5x");
    const std::string width = FieldRefusal("Symbol_Width", "2147483647");
    // Pin text size, pin spacing left/right and top/bottom, grid size, width, and the refusal.
    const std::tuple<const char*, const char*, const char*, const char*, const char*, std::string>
        cases[] = {
            {"3", "4", "2", "0.05", "6", overlap},
            {"3", "2", "4", "", "6", overlap}, // only the first failing check is reported
            {"2", "2", "2", "0.05", "6", ""},
            {"0.8", "1", "1", "", "6", kBadGridSize},
            {"0.8", "1", "1", "-1", "6", kBadGridSize},
            {"0", "1", "1", "0.05", "6", kBadPinTextSize},
            {"abc", "1", "1", "0.05", "6", kBadPinTextSize},
            {"0.8", "5x", "1", "0.05", "6", spacing},
            {"0.8", "1", "1", "0.05", "2147483647", width},
            {"0.8 ", " 3", "1", "0.1e1", "6", ""},
        };
    for (const auto& [textSize, leftRight, topBottom, grid, minWidth, message] : cases) {
        Open(CSetupPropSheet::kSymbolPage);
        Type(Ids::kPinTextSize, textSize);
        Type(Ids::kPinSpacingLeftRight, leftRight);
        Type(Ids::kPinSpacingTopBottom, topBottom);
        Type(Ids::kGridSize, grid);
        Type(Ids::kMinWidth, minWidth);
        ClickTab(CSetupPropSheet::kFormatPage);
        const bool ours = message == spacing || message == width;
        ExpectShown(message.empty() ? nullptr : message.c_str(),
                    ours ? MessageIcon::Exclamation : MessageIcon::Stop, textSize);
        EXPECT_EQ(sheet->GetActiveIndex(),
                  message.empty() ? CSetupPropSheet::kFormatPage : CSetupPropSheet::kSymbolPage);
    }
}

// "1,5" is 1.5 where the locale writes numbers with a decimal comma, in a field and in a
// load; elsewhere the user is told to write a point (a load keeps its own message).
TEST_F(SymbolPage, ADecimalCommaIsTakenWhereTheLocaleWritesOne) {
    const QLocale original;
    for (const QLocale& locale : {QLocale(QLocale::German), QLocale::c()}) {
        QLocale::setDefault(locale);
        Open(CSetupPropSheet::kPinPage);
        Grid* pins = Control<Grid>(CPinPP::kGrid);
        TypeInCell(pins, 3, CPinGridWnd::kIil, "-0,5");
        ClickCell(pins, 3, CPinGridWnd::kPosition);
        const bool comma = locale != QLocale::c();
        ExpectShown(comma ? nullptr : "\nTS Pin : Incorrect Load Value of -0,5", MessageIcon::None,
                    "load");
        EXPECT_EQ(pins->GetCellText(3, CPinGridWnd::kIil), comma ? "-0.5" : "-0,5");
        Open(CSetupPropSheet::kSymbolPage);
        Type(Ids::kPinTextSize, "0,5");
        ClickTab(CSetupPropSheet::kFormatPage);
        TransferSymbolPage(sheet->m_SymbolPage);
        if (locale == QLocale::c()) {
            const std::string refusal = FieldRefusal("Symbol_NoteSize", "0,5");
            ExpectShown(refusal.c_str(), MessageIcon::Exclamation, "C");
            EXPECT_NE(refusal.find("use a decimal point"), std::string::npos);
        } else {
            ExpectShown(nullptr, MessageIcon::None, "German");
            EXPECT_FLOAT_EQ(Get(store, &Store::GetDefNoteSize), 0.5f);
        }
    }
    QLocale::setDefault(original);
}

class FormatPage : public DialogDriver {};

// With one suffix read, the same one is written and the writing choice is locked; with both,
// the writing choice is the user's.
TEST_F(FormatPage, OneReadSuffixLocksTheWrittenOne) {
    using F = CFormatPP;
    const PFActiveLow star = PFActiveLow_Suffix_Star, n = PFActiveLow_Suffix_N,
                      both = PFActiveLow_Suffix_Star_And_N;
    // The stored reading (writing '_N' is stored), the clicks, then the states of reading '*'
    // and '_N', '*', '_N', writing '*', '_N' and the locked '*', '_N', and the notations the
    // page puts into the store.
    using Row = std::tuple<PFActiveLow, std::vector<int>, const char*, PFActiveLow, PFActiveLow>;
    const Row cases[] = {
        {star, {}, "oxoOOoO", star, star},
        {star, {F::kReadN}, "ooxOOOo", n, n},
        {both, {}, "xoooxOO", both, n},
        {both, {F::kReadN, F::kReadStarAndN}, "xoooxOO", both, n}, // '_N' is still chosen
        {both, {F::kWriteStar}, "xooxoOO", both, star},
    };
    for (const auto& [stored, clicks, states, read, write] : cases) {
        store.PutDefReadActiveLowPinNotation(stored);
        store.PutDefWriteActiveLowPinNotation(n);
        Open(CSetupPropSheet::kFormatPage);
        for (int id : clicks)
            Click(id);
        EXPECT_EQ(States({F::kReadStarAndN, F::kReadStar, F::kReadN, F::kWriteStar, F::kWriteN,
                          F::kWriteStarLabel, F::kWriteNLabel}),
                  states)
            << stored << " " << clicks.size();
        TransferFormatPage(sheet->m_FormatPage);
        EXPECT_EQ(Get<PFActiveLow>(store, &Store::GetDefReadActiveLowPinNotation), read);
        EXPECT_EQ(Get<PFActiveLow>(store, &Store::GetDefWriteActiveLowPinNotation), write);
    }
}

TEST_F(FormatPage, ReadingOptionsKeepTheStoreUntilClicked) {
    store.SetFormatForSizeablePins(0);
    store.SetFormatForVectorPins(2);
    store.SetGroupFormatForReading(0);
    store.PutDefUseMinusInPackage(0);
    Open(CSetupPropSheet::kFormatPage);
    EXPECT_EQ(States({CFormatPP::kSizeableSlotFirst, CFormatPP::kSizeableBaseFirst,
                      CFormatPP::kVectorBitFirst, CFormatPP::kVectorBaseFirst,
                      CFormatPP::kGroupFormat, CFormatPP::kUseMinus}),
              "xoxooo");
    TransferFormatPage(sheet->m_FormatPage);
    EXPECT_EQ(store.GetFormatForSizeablePins(), 0);

    Click(CFormatPP::kSizeableBaseFirst);
    Click(CFormatPP::kVectorBaseFirst);
    Click(CFormatPP::kGroupFormat);
    Click(CFormatPP::kUseMinus);
    TransferFormatPage(sheet->m_FormatPage);
    EXPECT_EQ(store.GetFormatForSizeablePins(), 1);
    EXPECT_EQ(store.GetFormatForVectorPins(), 1);
    EXPECT_EQ(store.ReadChipsInGroupFormat(), 1);
    EXPECT_EQ(store.GetDefUseMinusInPackage(), 1);
}

class InterpretationPage : public DialogDriver {};

TEST_F(InterpretationPage, ContradictingChoicesKeepTheUserOnThePage) {
    using P = CPinNameInterpretationPP;
    const char* groupBased = "The Numeral AlphaNumeral interpretation should be \ngroup based.";
    const char* numeral = "The Numeral AlphaNumeral interpretation is conflicting \nwith the "
                          "Numeral AlphaNumeral Numeral interpretation.";
    const char* alpha = "The AlphaNumeral Numeral interpretation is conflicting.";
    // The choice in each of the three groups, and the refusal.
    const std::tuple<int, int, int, const char*> cases[] = {
        {P::kAlphaNum_BN_B, P::kNumAlpha_BN, P::kNumAlphaNum_BN, nullptr},
        {P::kAlphaNum_BN_B, P::kNumAlpha_BN, P::kNumAlphaNum_G_BN, groupBased},
        {P::kAlphaNum_BN_B, P::kNumAlpha_G_BN, P::kNumAlphaNum_G_BN_S, nullptr},
        {P::kAlphaNum_BN, P::kNumAlpha_B_BN, P::kNumAlphaNum_BN_B, numeral},
        {P::kAlphaNum_BN, P::kNumAlpha_G_BN, P::kNumAlphaNum_BN, numeral},
        {P::kAlphaNum_BN_S, P::kNumAlpha_S_BN, P::kNumAlphaNum_BN, alpha},
        {P::kAlphaNum_BN_S, P::kNumAlpha_BN, P::kNumAlphaNum_BN_S, nullptr},
        {P::kAlphaNum_BN_B, P::kNumAlpha_BN, P::kNumAlphaNum_B_BN, alpha},
    };
    for (const auto& [alphaNum, numAlpha, numAlphaNum, message] : cases) {
        Open(CSetupPropSheet::kInterpretationPage);
        Click(alphaNum);
        Click(numAlpha);
        Click(numAlphaNum);
        ClickTab(CSetupPropSheet::kPropertyPage);
        ExpectShown(message, MessageIcon::None, std::to_string(numAlphaNum));
        EXPECT_EQ(sheet->GetActiveIndex(),
                  message ? CSetupPropSheet::kInterpretationPage : CSetupPropSheet::kPropertyPage);
    }
}

TEST_F(InterpretationPage, AStoredValueOutsideItsGroupSurvives) {
    store.PutNumAlphaNumValue(static_cast<PFPinInterpret_NumAlphaNum>(9));
    Open(CSetupPropSheet::kInterpretationPage);
    EXPECT_FALSE(Control<QAbstractButton>(CPinNameInterpretationPP::kNumAlphaNum_BN)->isChecked());
    Click(CPinNameInterpretationPP::kAlphaNum_BN);
    sheet->m_InterpretationPage.OnOK();
    TransferInterpretationPage(sheet->m_InterpretationPage);
    EXPECT_EQ(Get(store, &Store::GetAlphaNumValue), PFAlphaNum_BN);
    EXPECT_EQ(Get(store, &Store::GetNumAlphaNumValue), 9);
}

} // namespace
} // namespace pfsetup::test
