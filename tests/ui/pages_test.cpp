// The Symbol, Format and Pin Name Interpretation pages, driven through the sheet's controls.
#include "dialog_driver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

namespace pfsetup::test {
namespace {

using Ids = CSymbolPP;

class SymbolPage : public DialogDriver {};

TEST_F(SymbolPage, LoadsTheStoreIntoSortedLists) {
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
    EXPECT_TRUE(Control<QRadioButton>(Ids::kUseSplitInstName)->isChecked());
    EXPECT_EQ(Control<QRadioButton>(Ids::kUseSplitInst)->text(), "Use S&PLIT_INST && $LOCATION");
}

TEST_F(SymbolPage, LeavingChecksTheSizesInOrder) {
    const char* overlap = "\nError - Since pin text size is greater than the pin spacing,\npin "
                          "text and symbol pin properties may get overlapped.";
    const MessageIcon stop = MessageIcon::Stop;
    const struct {
        const char *textSize, *leftRight, *topBottom, *grid, *message;
        MessageIcon icon;
    } cases[] = {
        {"3", "4", "2", "0.05", overlap, stop},
        {"3", "2", "4", "", overlap, stop}, // only the first failing check is reported
        {"2", "2", "2", "0.05", nullptr, stop},
        {"0.8", "1", "1", "", "\nError - Incorrect grid size", stop},
        {"0.8", "1", "1", "-1", "\nError - Incorrect grid size", stop},
        {"0", "1", "1", "0.05", "\nError - Incorrect pin note size", stop},
        {"abc", "1", "1", "0.05", "\nError - Incorrect pin note size", stop},
        {"0.8", "5x", "1", "0.05", "Please enter an integer.", MessageIcon::Exclamation},
        {"0.8 ", " 3", "1", "0.1e1", nullptr, stop},
    };
    for (const auto& c : cases) {
        host.messages.clear();
        Open(CSetupPropSheet::kSymbolPage);
        Type(Ids::kPinTextSize, c.textSize);
        Type(Ids::kPinSpacingLeftRight, c.leftRight);
        Type(Ids::kPinSpacingTopBottom, c.topBottom);
        Type(Ids::kGridSize, c.grid);
        ClickTab(CSetupPropSheet::kFormatPage);
        if (c.message) {
            EXPECT_EQ(MessageTexts(), std::vector<std::string>{c.message}) << c.textSize;
            EXPECT_EQ(host.messages.front().icon, c.icon) << c.textSize;
            EXPECT_EQ(sheet->GetActiveIndex(), CSetupPropSheet::kSymbolPage);
        } else {
            EXPECT_TRUE(host.messages.empty()) << c.textSize;
            EXPECT_EQ(sheet->GetActiveIndex(), CSetupPropSheet::kFormatPage);
        }
    }
}

TEST_F(SymbolPage, TransferMovesWhatTheUserLeftOnThePage) {
    CSymbolPP unopened(store);
    TransferSymbolPage(unopened); // never shown: nothing moves
    int width = 0;
    store.GetDefSymbolWidth(width);
    EXPECT_EQ(width, 6);

    Open(CSetupPropSheet::kSymbolPage);
    host.messages.clear();
    Type(Ids::kGridSize, "0.1");
    Type(Ids::kMinWidth, "8");
    Type(Ids::kMinHeight, "9");
    Type(Ids::kPinSpacingTopBottom, "2");
    Choose(Ids::kOutline, "Bold");
    Choose(Ids::kTextStyle, "H");
    Click(Ids::kUsePinNames);
    Click(Ids::kUseSplitInstName);
    ClickTab(CSetupPropSheet::kPinPage);
    ASSERT_TRUE(host.messages.empty());
    TransferSymbolPage(sheet->m_SymbolPage);

    float grid = 0;
    int height = 0, topBottom = 0;
    std::string outline, style;
    store.GetDefGridSize(grid);
    store.GetDefSymbolWidth(width);
    store.GetDefSymbolLength(height);
    store.GetDefSymbolWidthIncrement(topBottom);
    store.GetDefSymbolOutLine(outline);
    store.GetDefTextStyle(style);
    EXPECT_FLOAT_EQ(grid, 0.1f);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 9);
    EXPECT_EQ(topBottom, 2);
    EXPECT_EQ(outline, "Bold");
    EXPECT_EQ(style, "Horizontal");
    EXPECT_EQ(store.GetUsePinNamesForText(), 0);
    EXPECT_EQ(store.GetUseSplitInstProp(), 0);
}

class FormatPage : public DialogDriver {
protected:
    bool Enabled(int id) { return Control(id)->isEnabled(); }
    bool Checked(int id) { return Control<QAbstractButton>(id)->isChecked(); }
    CFormatPP& Page() { return sheet->m_FormatPage; }
};

TEST_F(FormatPage, OneReadSuffixLocksTheWrittenOne) {
    store.PutDefReadActiveLowPinNotation(PFActiveLow_Suffix_Star);
    store.PutDefWriteActiveLowPinNotation(PFActiveLow_Suffix_N);
    Open(CSetupPropSheet::kFormatPage);
    EXPECT_TRUE(Checked(CFormatPP::kReadStar));
    EXPECT_FALSE(Enabled(CFormatPP::kWriteStar));
    EXPECT_FALSE(Enabled(CFormatPP::kWriteN));
    EXPECT_TRUE(Enabled(CFormatPP::kWriteStarLabel));
    EXPECT_FALSE(Enabled(CFormatPP::kWriteNLabel));
    EXPECT_EQ(Page().m_eWriteNotation, PFActiveLow_Suffix_Star);

    Click(CFormatPP::kReadN);
    EXPECT_EQ(Page().m_eReadNotation, PFActiveLow_Suffix_N);
    EXPECT_EQ(Page().m_eWriteNotation, PFActiveLow_Suffix_N);
    EXPECT_TRUE(Enabled(CFormatPP::kWriteNLabel));
    EXPECT_FALSE(Enabled(CFormatPP::kWriteStarLabel));
}

TEST_F(FormatPage, BothSuffixesFreeTheWritingChoice) {
    store.PutDefWriteActiveLowPinNotation(PFActiveLow_Suffix_N);
    Open(CSetupPropSheet::kFormatPage);
    EXPECT_TRUE(Checked(CFormatPP::kReadStarAndN));
    EXPECT_TRUE(Checked(CFormatPP::kWriteN));
    Click(CFormatPP::kReadN);
    EXPECT_FALSE(Enabled(CFormatPP::kWriteN));
    Click(CFormatPP::kReadStarAndN);
    EXPECT_TRUE(Enabled(CFormatPP::kWriteN));
    EXPECT_EQ(Page().m_eWriteNotation, PFActiveLow_Suffix_N); // 1036 is still selected
    Click(CFormatPP::kWriteStar);
    TransferFormatPage(Page());
    PFActiveLow read = PFActiveLow_Suffix_N, write = PFActiveLow_Suffix_N;
    store.GetDefReadActiveLowPinNotation(read);
    store.GetDefWriteActiveLowPinNotation(write);
    EXPECT_EQ(read, PFActiveLow_Suffix_Star_And_N);
    EXPECT_EQ(write, PFActiveLow_Suffix_Star);
}

TEST_F(FormatPage, ReadingOptionsKeepTheStoreUntilClicked) {
    store.SetFormatForSizeablePins(0);
    store.SetFormatForVectorPins(2);
    store.SetGroupFormatForReading(0);
    store.PutDefUseMinusInPackage(0);
    Open(CSetupPropSheet::kFormatPage);
    EXPECT_TRUE(Checked(CFormatPP::kSizeableSlotFirst));
    EXPECT_TRUE(Checked(CFormatPP::kVectorBitFirst));
    EXPECT_FALSE(Checked(CFormatPP::kGroupFormat));
    TransferFormatPage(Page());
    EXPECT_EQ(store.GetFormatForSizeablePins(), 0);

    Click(CFormatPP::kSizeableBaseFirst);
    Click(CFormatPP::kVectorBaseFirst);
    Click(CFormatPP::kGroupFormat);
    Click(CFormatPP::kUseMinus);
    TransferFormatPage(Page());
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
    const struct {
        int alphaNum, numAlpha, numAlphaNum;
        const char* message;
    } cases[] = {
        {P::kAlphaNum_BN_B, P::kNumAlpha_BN, P::kNumAlphaNum_BN, nullptr},
        {P::kAlphaNum_BN_B, P::kNumAlpha_BN, P::kNumAlphaNum_G_BN, groupBased},
        {P::kAlphaNum_BN_B, P::kNumAlpha_G_BN, P::kNumAlphaNum_G_BN_S, nullptr},
        {P::kAlphaNum_BN, P::kNumAlpha_B_BN, P::kNumAlphaNum_BN_B, numeral},
        {P::kAlphaNum_BN, P::kNumAlpha_G_BN, P::kNumAlphaNum_BN, numeral},
        {P::kAlphaNum_BN_S, P::kNumAlpha_S_BN, P::kNumAlphaNum_BN, alpha},
        {P::kAlphaNum_BN_S, P::kNumAlpha_BN, P::kNumAlphaNum_BN_S, nullptr},
        {P::kAlphaNum_BN_B, P::kNumAlpha_BN, P::kNumAlphaNum_B_BN, alpha},
    };
    for (const auto& c : cases) {
        host.messages.clear();
        Open(CSetupPropSheet::kInterpretationPage);
        Click(c.alphaNum);
        Click(c.numAlpha);
        Click(c.numAlphaNum);
        ClickTab(CSetupPropSheet::kPropertyPage);
        if (c.message) {
            EXPECT_EQ(MessageTexts(), std::vector<std::string>{c.message}) << c.numAlphaNum;
            EXPECT_EQ(sheet->GetActiveIndex(), CSetupPropSheet::kInterpretationPage);
        } else {
            EXPECT_TRUE(host.messages.empty()) << c.numAlphaNum;
            EXPECT_EQ(sheet->GetActiveIndex(), CSetupPropSheet::kPropertyPage);
        }
    }
}

TEST_F(InterpretationPage, AStoredValueOutsideItsGroupSurvives) {
    store.PutNumAlphaNumValue(static_cast<PFPinInterpret_NumAlphaNum>(9));
    Open(CSetupPropSheet::kInterpretationPage);
    EXPECT_FALSE(Control<QRadioButton>(CPinNameInterpretationPP::kNumAlphaNum_BN)->isChecked());
    Click(CPinNameInterpretationPP::kAlphaNum_BN);
    sheet->m_InterpretationPage.OnOK();
    TransferInterpretationPage(sheet->m_InterpretationPage);
    PFPinInterpret_AlphaNum alphaNum = PFAlphaNum_BN_B;
    PFPinInterpret_NumAlphaNum numAlphaNum = PFNumAlphaNum_BN;
    store.GetAlphaNumValue(alphaNum);
    store.GetNumAlphaNumValue(numAlphaNum);
    EXPECT_EQ(alphaNum, PFAlphaNum_BN);
    EXPECT_EQ(numAlphaNum, 9);
}

TEST_F(InterpretationPage, HelpOfEachPage) {
    Open(CSetupPropSheet::kSymbolPage);
    ClickButton(PropertySheet::kIdHelp);
    ClickTab(CSetupPropSheet::kFormatPage);
    QTest::keyClick(Control(CFormatPP::kUseMinus), Qt::Key_F1);
    ClickTab(CSetupPropSheet::kInterpretationPage);
    ClickButton(PropertySheet::kIdHelp);
    EXPECT_EQ(host.helpRequests, (std::vector<unsigned>{0x20211, 0x20214, 0x20215}));
}

} // namespace
} // namespace pfsetup::test
