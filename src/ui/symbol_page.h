#pragma once
// The Symbol page: units, grid, outline, pin text orientation and size, minimum symbol size and
// pin spacing, pin names as pin text, and the properties of split symbols. Its values stay on
// the page until the sheet's OK or template save moves them into the store
// (TransferSymbolPage); leaving the page or OK first checks that the sizes fit together.

#include "host/host_services.h"
#include "ui/kit/radio_group.h"
#include "ui/setup_page.h"

#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;

class CSymbolPP : public pfsetup::SetupPage {
    Q_OBJECT
public:
    static constexpr unsigned kHelpContextId = 0x20211;
    // Control ids of the page's template.
    enum ControlId : int {
        kUnits = 1000,
        kGridSize = 1001,
        kPinTextSize = 1002,
        kTextStyle = 1005,
        kOutline = 1007,
        kMinHeight = 1008,
        kPinSpacingLeftRight = 1009,
        kMinWidth = 1010,
        kPinSpacingTopBottom = 1011,
        kUsePinNames = 1031,
        kUseSplitInst = 1068,
        kUseSplitInstName = 1069,
    };

    explicit CSymbolPP(CPFCoreSetupAPI& store, QWidget* parent = nullptr);

    // Refuses, with a message, sizes that cannot work; then takes the controls' values.
    bool OnKillActive() override;

    std::string m_strUnits;
    std::string m_strTextStyle;
    std::string m_strOutline;
    float m_fGridSize = 0;
    int m_nPinSpacingLeftRight = 0;
    int m_nPinSpacingTopBottom = 0;
    float m_fPinTextSize = 0;
    int m_nMinWidth = 0;
    int m_nMinHeight = 0;
    int m_bUsePinNames = 1;
    // 1: SPLIT_INST with $LOCATION; 0: SPLIT_INST_NAME. Exchanged with the radio buttons like
    // the other fields, so every path that takes the page's values takes it too.
    int m_bUseSplitInst = 1;

protected:
    bool DoDataExchange(bool saveAndValidate) override;
    void LoadFrom(CPFCoreSetupAPI& store) override;
    void UpdateTips() override;

private:
    // The controls that set one key each, with their keys.
    std::vector<std::pair<QWidget*, const char*>> KeyedFields() const;
    // Tells the user, points at the edit and refuses.
    bool Refuse(const std::string& message, pfsetup::MessageIcon icon, QLineEdit* edit);

    QComboBox* units_;
    QComboBox* textStyle_;
    QComboBox* outline_;
    QLineEdit* gridSize_;
    QLineEdit* pinSpacingLeftRight_;
    QLineEdit* pinSpacingTopBottom_;
    QLineEdit* pinTextSize_;
    QLineEdit* minWidth_;
    QLineEdit* minHeight_;
    QCheckBox* usePinNames_;
    pfsetup::RadioGroup splitInst_;
};

// Page -> store; nothing when the page was never shown.
void TransferSymbolPage(CSymbolPP& page);
