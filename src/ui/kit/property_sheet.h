#pragma once
// A dialog of tabbed PropertyPages with OK, Cancel and Help: our stand-in for the original
// framework's property sheet. The page being left is asked first (OnKillActive) and a refusal
// keeps the user on it; a page is initialised the first time its tab is shown. Results follow
// the framework's button ids: 1 after OK, 2 after Cancel.
//
// For keyboard users: the dialog opens with the focus, shown, on the first control of its page;
// Ctrl+PgDn and Ctrl+PgUp (as Ctrl+Tab and Ctrl+Shift+Tab) switch pages, Tab goes through the
// tab bar, the shown page's controls and then the buttons, F1 opens the shown page's help from
// anywhere in the dialog; Escape, the close box and Cancel ask before they throw away edits the
// user made (No being the answer Enter gives).

#include "ui/kit/property_page.h"

#include <QDialog>
#include <QPointer>

#include <map>
#include <string>
#include <vector>

class QHBoxLayout;
class QPushButton;
class QTabWidget;

namespace pfsetup {

class PropertySheet : public QDialog {
    Q_OBJECT
public:
    static constexpr int kIdOk = 1;
    static constexpr int kIdCancel = 2;
    static constexpr int kIdHelp = 9;
    static constexpr int kIdRestoreDefaults = 210;
    static constexpr const char* kDiscardQuestion = "Discard the changes you made?";

    // `selectPage`: index of the page shown first.
    PropertySheet(const std::string& caption, QWidget* parent, int selectPage);
    ~PropertySheet() override;

    // Pages are not owned; they must outlive the sheet or be detached (DetachPages) first.
    void AddPage(PropertyPage* page);
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    PropertyPage* GetPage(int index) const;
    int GetActiveIndex() const { return active_; }
    PropertyPage* GetActivePage() const { return GetPage(active_); }
    // Leaves the active page only when it agrees; false when it refused or the index is bad.
    bool SetActivePage(int index);
    // Shows the page without asking the active one.
    void ShowPage(int index);
    // Shows a page whose check failed while another one was shown (during OK), with the focus
    // on the control it pointed at.
    void ShowRefusal(int index);

    void SetTitle(const std::string& title);
    QTabWidget* GetTabControl() const { return tabs_; }
    // A disabled tab control lets the user leave the shown page only through OK or Cancel.
    void EnableTabControl(bool enable);
    bool IsTabControlEnabled() const { return tabsEnabled_; }

    // OK (1), Cancel (2), Help (9), Restore Defaults (210) or a button added with AddButton;
    // null for other ids.
    QPushButton* GetButton(int id) const;
    // A button of the caller's at OK's place: right of OK, left of Cancel, so it takes OK's
    // position when OK is hidden.
    QPushButton* AddButton(int id, const std::string& text);

    // Runs OnInitDialog once (showing the dialog does too); for use without DoModal.
    void Create();
    // Runs the dialog; 1 after OK, 2 after Cancel.
    int DoModal();
    void EndDialog(int result);

    virtual void OnOK();
    virtual void OnCancel();
    // The active page's help.
    virtual void OnHelp();
    // The active page's defaults; counts as an edit.
    virtual void OnRestoreDefaults();

    // Whether OK would change anything a page was initialised with.
    bool IsModified() const;
    // Cancel as the user asks for it (Cancel, Escape, the close box): when anything was
    // changed, only after the user agreed to throw the changes away.
    void CancelByUser();

protected:
    // Shows the first page. Overrides call the base first.
    virtual bool OnInitDialog();
    // Unhooks the pages from the tab control; derived sheets that own their pages call it
    // in their destructor, before the pages go.
    void DetachPages();

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Escape and the window's close box cancel through OnCancel.
    void reject() override;

private:
    void OnTabChanged(int index);
    void ActivatePage(int index);
    // The next (+1) or previous (-1) page, asking the active one.
    void StepPage(int step);
    // Tab goes from the tab bar through the pages' controls to the buttons, in the order they
    // are shown; the tab widget would put the pages before its tab bar.
    void OrderTabs();

    QTabWidget* tabs_;
    QHBoxLayout* buttonRow_;
    std::map<int, QPushButton*> buttons_;
    std::vector<QPointer<PropertyPage>> pages_;
    int selectPage_;
    int active_ = -1;
    bool created_ = false;
    bool switching_ = false;
    bool tabsEnabled_ = true;
};

} // namespace pfsetup
