#pragma once
// The Pin Name Interpretation page: one interpretation for each of the three pin-name
// patterns (A1, 1A, 1A1), as radio indices whose value is index + 1. The page refuses to be
// left, and the sheet refuses OK, while the three contradict each other.

#include "setup/setting_rules.h"
#include "setup/setup_types.h"
#include "ui/kit/radio_group.h"
#include "ui/setup_page.h"

#include <string>

class CPinNameInterpretationPP : public pfsetup::SetupPage {
    Q_OBJECT
public:
    static constexpr unsigned kHelpContextId = 0x20215;
    // Control ids, in the order of the buttons within each group.
    enum ControlId : int {
        kAlphaNum_BN = 1043,
        kAlphaNum_BN_B = 1044,
        kAlphaNum_BN_S = 1046,
        kNumAlpha_BN = 1051,
        kNumAlpha_G_BN = 1052,
        kNumAlpha_B_BN = 1057,
        kNumAlpha_S_BN = 1059,
        kNumAlphaNum_BN = 1047,
        kNumAlphaNum_BN_B = 1048,
        kNumAlphaNum_BN_S = 1049,
        kNumAlphaNum_B_BN = 1050,
        kNumAlphaNum_S_BN = 1053,
        kNumAlphaNum_G_BN = 1054,
        kNumAlphaNum_G_BN_B = 1055,
        kNumAlphaNum_G_BN_S = 1056,
    };

    explicit CPinNameInterpretationPP(CPFCoreSetupAPI& store, QWidget* parent = nullptr);

    // Shows the conflict, if any, and refuses with the focus on the choice to change.
    bool OnKillActive() override;
    // Radio indices -> values; an index outside its group leaves its value.
    void OnOK() override;

    // True, with the message, when the selected buttons contradict each other.
    bool CheckInterpretationConflict(std::string& message) const;

    int m_nAlphaNumIndex = -1;
    int m_nNumAlphaIndex = -1;
    int m_nNumAlphaNumIndex = -1;
    PFPinInterpret_AlphaNum m_eAlphaNum = PFAlphaNum_BN_B;
    PFPinInterpret_NumAlpha m_eNumAlpha = PFNumAlpha_BN;
    PFPinInterpret_NumAlphaNum m_eNumAlphaNum = PFNumAlphaNum_BN;

protected:
    bool DoDataExchange(bool saveAndValidate) override;
    void LoadFrom(CPFCoreSetupAPI& store) override;
    void UpdateTips() override;

private:
    pfsetup::RadioGroup alphaNum_;
    pfsetup::RadioGroup numAlpha_;
    pfsetup::RadioGroup numAlphaNum_;
};

// Page -> store; nothing when the page was never shown.
void TransferInterpretationPage(CPinNameInterpretationPP& page);
