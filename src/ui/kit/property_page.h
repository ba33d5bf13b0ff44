#pragma once
// One tab of a PropertySheet: our stand-in for the original framework's property page.
// The widgets exist from construction, but the page loads its values (OnInitDialog) only the
// first time its tab is shown; until then m_bInitialised is 0 and the sheet leaves the page
// alone. The sheet asks the page being left whether it may be left (OnKillActive).

#include <QPointer>
#include <QWidget>

#include <string>

class CPFCoreSetupAPI;

namespace pfsetup {

class PropertyPage : public QWidget {
    Q_OBJECT
public:
    // `caption` is the tab text ("&" marks the mnemonic, "&&" is a plain "&"); `helpContextId`
    // the id the help opens with.
    PropertyPage(CPFCoreSetupAPI& store, std::string caption, unsigned helpContextId,
                 QWidget* parent = nullptr);

    CPFCoreSetupAPI& Store() const { return store_; }
    const std::string& Caption() const { return caption_; }
    unsigned HelpContextId() const { return helpContextId_; }

    // Runs OnInitDialog once; the sheet calls it when the tab is first shown.
    void EnsureInitialised();

    // Moves values between controls and fields; false when a control's text was refused.
    bool UpdateData(bool saveAndValidate);

    // The base sets m_bInitialised; overrides call it first.
    virtual bool OnInitDialog();
    virtual bool OnSetActive() { return true; }
    // The base exchanges the controls into the fields; false keeps the user on the page.
    virtual bool OnKillActive();
    virtual void OnOK() {}
    virtual void OnCancel() {}
    // F1 and the sheet's Help button: the help of this page, then the focus returns to the
    // page.
    virtual void OnHelp();
    // Whether the page can set its controls to the installed defaults, and doing it. The
    // sheet's "Restore Defaults" button acts on the shown page.
    virtual bool CanRestoreDefaults() const { return false; }
    virtual void OnRestoreDefaults() {}

    // Whether OK would change what the page was initialised with; the sheet asks before it
    // throws such changes away.
    virtual bool IsModified() const { return false; }

    // Puts the focus on the control the user has to fix, its text selected, and remembers it
    // so the sheet can point there again once it has shown the page.
    void PointAt(QWidget* control);
    // The control of the last PointAt, if it is still there.
    QWidget* ControlToFix() const { return toFix_; }
    // Gives the focus to the control of the page that last had it, or else to its first one.
    void FocusPage();

    int m_bInitialised = 0;

protected:
    virtual bool DoDataExchange(bool /*saveAndValidate*/) { return true; }

private:
    CPFCoreSetupAPI& store_;
    std::string caption_;
    unsigned helpContextId_;
    bool initDone_ = false;
    QPointer<QWidget> toFix_;
};

} // namespace pfsetup
