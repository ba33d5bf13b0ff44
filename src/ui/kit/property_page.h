#pragma once
// One tab of a PropertySheet: our stand-in for the original framework's property page.
// The widgets exist from construction, but the page loads its values (OnInitDialog) only the
// first time its tab is shown; until then m_bInitialised is 0 and the sheet leaves the page
// alone. The sheet asks the page being left whether it may be left (OnKillActive).
//
// Once initialised, the page counts any edit the user makes in its controls (typing, picking,
// clicking) as a modification, so the sheet can ask before it throws edits away.

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
    // F1 on the page and the sheet's Help button: the help of this page, then the focus
    // returns to the page.
    virtual void OnHelp();
    // Whether the page can set its controls to the installed defaults, and doing it. The
    // sheet's "Restore Defaults" button acts on the shown page.
    virtual bool CanRestoreDefaults() const { return false; }
    virtual void OnRestoreDefaults() {}

    // Whether the user changed anything on the page since it was initialised.
    bool IsModified() const { return modified_; }
    void SetModified(bool modified = true) { modified_ = modified; }

    // Puts the focus on the control the user has to fix, its text selected, and remembers it
    // so the sheet can point there again once it has shown the page.
    void PointAt(QWidget* control);
    // The control of the last PointAt, if it is still there.
    QWidget* ControlToFix() const { return toFix_; }

    int m_bInitialised = 0;

protected:
    virtual bool DoDataExchange(bool /*saveAndValidate*/) { return true; }
    void keyPressEvent(QKeyEvent* event) override;

private:
    // From now on, edits in the page's controls mark the page modified.
    void WatchUserEdits();

    CPFCoreSetupAPI& store_;
    std::string caption_;
    unsigned helpContextId_;
    bool initDone_ = false;
    bool modified_ = false;
    QPointer<QWidget> toFix_;
};

} // namespace pfsetup
