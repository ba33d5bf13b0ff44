#pragma once
// The Property page: the store's default properties in a grid, with the check boxes that say
// where the property of the current row applies. Unlike the other pages it writes into the
// store as the user leaves each row; OK commits the row still being edited.

#include "ui/kit/property_page.h"

class CPropertyPP : public pfsetup::PropertyPage {
    Q_OBJECT
public:
    static constexpr unsigned kHelpContextId = 0x20213;
    enum ControlId : int { kGrid = 1016 };

    explicit CPropertyPP(CPFCoreSetupAPI& store, QWidget* parent = nullptr);

    // Template modes show most of the check boxes disabled; called before the page is shown.
    void EnableTemplateMode() { m_bTemplateMode = 1; }
    // Moves the row being edited into the store.
    void CommitEditRow() {}
    void OnOK() override;

    int m_bTemplateMode = 0;

private:
    QWidget* gridArea_;
};
