#pragma once
// The setup dialog: Property, Pin and Symbol pages and, outside template modes, the Format and
// Pin Name Interpretation pages. OK runs the pages' last checks, moves their values into the
// store in page order and writes the project file; a refused check or a failed write keeps
// the dialog open with every edit, on the field to fix. Cancel re-reads the store from the
// file it was last read from or written to. In template modes a "Save.." or "Apply" button
// stands in OK's place and the title names the template.

#include "ui/format_page.h"
#include "ui/interpretation_page.h"
#include "ui/kit/property_sheet.h"
#include "ui/pin_page.h"
#include "ui/properties_page.h"
#include "ui/setting_sources.h"
#include "ui/symbol_page.h"

#include <initializer_list>
#include <string>

class QPushButton;

class CSetupPropSheet : public pfsetup::PropertySheet {
    Q_OBJECT
public:
    static constexpr int kIdTemplateButton = 200;
    // Page indices once AddPages has run.
    enum PageIndex : int {
        kPropertyPage = 0,
        kPinPage = 1,
        kSymbolPage = 2,
        kFormatPage = 3,
        kInterpretationPage = 4,
    };

    // The pages work on `store`.
    CSetupPropSheet(const std::string& caption, QWidget* parent, int selectPage,
                    CPFCoreSetupAPI& store);
    ~CSetupPropSheet() override;

    // `mode`: 0 normal setup (all five pages); 1 edit template, 2 new template, 3 open template
    // (Property, Pin and Symbol only).
    void AddPages(int mode);
    // The template the store was loaded from in template modes: the title names it and
    // "Save.." offers it. Set before the dialog is shown.
    void SetTemplateFile(const std::string& path);

    void OnOK() override;
    void OnCancel() override;
    // "Save.." (modes 1 and 2) saves the pages as a part template; "Apply" (mode 3) is OK.
    virtual void OnTemplateButton();
    // Tells the user, in one message, of the entries in effect that a read does not take as
    // written: the pages show them as the files hold them and keep them unless changed.
    void WarnOfKeptEntries();

    CPFCoreSetupAPI& Store() const { return store_; }

    CSymbolPP m_SymbolPage;
    CPinPP m_PinPage;
    CPropertyPP m_PropertyPage;
    CFormatPP m_FormatPage;
    CPinNameInterpretationPP m_InterpretationPage;
    int m_bModal = 0;
    int m_bTabsEnabled = 0;
    int m_bFullSetup = 0;
    bool m_bOkPressed = false;
    int m_nMode = 0;
    QPushButton* m_btnTemplate = nullptr;

protected:
    bool OnInitDialog() override;

private:
    // A page check failed: show that page, whose message the user has just seen, on the
    // control to fix.
    void Refused(int pageIndex);
    // The checks of the pages, in this order, each only if initialised; false after the first
    // refusal.
    bool PagesAccept(std::initializer_list<int> pageIndices);

    CPFCoreSetupAPI& store_;
    std::string templateFile_;
    pfsetup::SettingSources sources_;
};

namespace pfsetup {

// After a call of the store: shows, with the exclamation icon, its failure from the error record
// or else the warnings it logged, and clears the log.
void ShowStoreLog(CPFCoreSetupAPI& store);

} // namespace pfsetup
