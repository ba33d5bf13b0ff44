#pragma once
// The Format page: the low-asserted pin notation for reading and writing, the minus sign in
// package views, and the chips-file reading options. The click handlers keep the members
// current, so the page has no data exchange; TransferFormatPage moves them into the store.
// When only one suffix is read, the same suffix is written and the writing choice is locked.

#include "setup/setup_types.h"
#include "ui/kit/radio_group.h"
#include "ui/setup_page.h"

class QCheckBox;
class QLabel;

class CFormatPP : public pfsetup::SetupPage {
    Q_OBJECT
public:
    static constexpr unsigned kHelpContextId = 0x20214;
    enum ControlId : int {
        kReadStar = 1032,
        kReadN = 1033,
        kReadStarAndN = 1034,
        kWriteStar = 1035,
        kWriteN = 1036,
        kUseMinus = 1037,
        kWriteStarLabel = 1038,
        kWriteNLabel = 1039,
        kGroupFormat = 1060,
        kSizeableSlotFirst = 1061,
        kSizeableBaseFirst = 1062,
        kVectorBitFirst = 1063,
        kVectorBaseFirst = 1064,
    };

    explicit CFormatPP(CPFCoreSetupAPI& store, QWidget* parent = nullptr);

    // One handler per control, run when the user clicks it.
    void OnReadStarAndN();
    void OnReadStar();
    void OnReadN();
    void OnWriteStar();
    void OnWriteN();
    void OnUseMinus();
    void OnGroupFormat();
    void OnSizeableSlotFirst();
    void OnSizeableBaseFirst();
    void OnVectorBitFirst();
    void OnVectorBaseFirst();

    PFActiveLow m_eReadNotation = PFActiveLow_Suffix_Star_And_N;
    PFActiveLow m_eWriteNotation = PFActiveLow_Suffix_Star;
    int m_bUseMinus = 1;
    int m_nGroupFormat = 1;
    int m_nSizeableFormat = 1; // 1 base name - slot number, 2 slot number - base name
    int m_nVectorFormat = 1;   // 1 base name - bit number, 2 bit number - base name

protected:
    void LoadFrom(CPFCoreSetupAPI& store) override;
    void UpdateTips() override;

private:
    void LockWriting(bool locked);

    pfsetup::RadioGroup reading_;  // 1034, 1032, 1033
    pfsetup::RadioGroup writing_;  // 1035, 1036
    pfsetup::RadioGroup sizeable_; // 1061, 1062
    pfsetup::RadioGroup vector_;   // 1063, 1064
    QLabel* writeStarLabel_;
    QLabel* writeNLabel_;
    QCheckBox* useMinus_;
    QCheckBox* groupFormat_;
};

// Page -> store; nothing when the page was never shown.
void TransferFormatPage(CFormatPP& page);
