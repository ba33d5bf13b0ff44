#include "ui/setup_sheet.h"

#include "host/host_services.h"
#include "persist/setup_main.h"
#include "setup/setup_store.h"

#include <QFile>
#include <QFileInfo>
#include <QPushButton>

using namespace pfsetup;

namespace pfsetup {

void ShowStoreLog(CPFCoreSetupAPI& store) {
    std::string log;
    if (store.GetLogError(log) && !log.empty())
        Host().ShowMessage(log, MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace pfsetup

namespace {

// Re-reads the store from the file it was last read from or written to, if there is one.
void RereadLastFile(CPFCoreSetupAPI& store) {
    std::string last;
    store.GetLastReadWriteFileName(last);
    if (last.empty())
        return;
    store.PutDefFileName(last);
    store.ReadSetup();
    ShowStoreLog(store);
}

bool FileExists(const std::string& path) {
    return QFileInfo::exists(QFile::decodeName(path.c_str()));
}

} // namespace

CSetupPropSheet::CSetupPropSheet(const std::string& caption, QWidget* parent, int selectPage,
                                 CPFCoreSetupAPI& store)
    : PropertySheet(caption, parent, selectPage), m_SymbolPage(store), m_PinPage(store),
      m_PropertyPage(store), m_FormatPage(store), m_InterpretationPage(store), store_(store) {}

CSetupPropSheet::~CSetupPropSheet() {
    DetachPages();
}

void CSetupPropSheet::AddPages(int mode) {
    m_nMode = mode;
    AddPage(&m_PropertyPage);
    AddPage(&m_PinPage);
    AddPage(&m_SymbolPage);
    if (mode == 0) {
        AddPage(&m_FormatPage);
        AddPage(&m_InterpretationPage);
    } else {
        m_PropertyPage.EnableTemplateMode();
    }
    m_bTabsEnabled = 1;
}

bool CSetupPropSheet::OnInitDialog() {
    PropertySheet::OnInitDialog();
    for (int id : {kIdCancel, kIdHelp}) {
        GetButton(id)->setVisible(true);
        GetButton(id)->setEnabled(true);
    }
    std::string text = "Save..";
    if (m_nMode == 1) {
        SetTitle("Edit Template");
    } else if (m_nMode == 2) {
        SetTitle("New Template");
    } else if (m_nMode == 3) {
        text = "Apply";
        SetTitle("Open Template");
    }
    m_btnTemplate = AddButton(kIdTemplateButton, text);
    m_btnTemplate->setVisible(false);
    connect(m_btnTemplate, &QPushButton::clicked, this, [this] { OnTemplateButton(); });

    QPushButton* ok = GetButton(kIdOk);
    if (m_nMode == 0) {
        ok->setEnabled(true);
        ok->setVisible(true);
    } else {
        m_btnTemplate->setVisible(true);
        m_btnTemplate->setDefault(true);
        ok->setEnabled(false);
        ok->setVisible(false);
    }
    if (!m_bTabsEnabled)
        EnableTabControl(false);
    return true;
}

void CSetupPropSheet::Refused(int pageIndex) {
    if (m_bTabsEnabled)
        ShowPage(pageIndex);
}

void CSetupPropSheet::OnOK() {
    m_bOkPressed = true;
    if (m_PropertyPage.m_bInitialised)
        m_PropertyPage.OnOK();
    if (m_PinPage.m_bInitialised)
        m_PinPage.UpdateData(true);
    TransferPinPage(m_PinPage);
    if (m_SymbolPage.m_bInitialised &&
        (!m_SymbolPage.OnKillActive() || !m_SymbolPage.UpdateData(true))) {
        Refused(kSymbolPage);
        return;
    }
    TransferSymbolPage(m_SymbolPage);
    if (m_nMode == 0) {
        if (m_FormatPage.m_bInitialised)
            m_FormatPage.UpdateData(true);
        TransferFormatPage(m_FormatPage);
        if (m_InterpretationPage.m_bInitialised) {
            if (!m_InterpretationPage.OnKillActive()) {
                Refused(kInterpretationPage);
                return;
            }
            m_InterpretationPage.OnOK();
        }
        TransferInterpretationPage(m_InterpretationPage);
    }

    const int written = store_.WriteCPMFile();
    std::string log;
    store_.GetLogError(log);
    if (!written && log.empty()) {
        // A failed write may leave no text of its own; the user must not take it for saved.
        std::string file;
        store_.GetCPMFileName(file);
        log = "\nUnable to save file " + file;
    }
    if (!log.empty())
        Host().ShowMessage(log, MessageIcon::Exclamation, MessageButtons::Ok);
    if (m_nMode == 0 && store_.HasReadActiveLowPinNotationChanged())
        Host().ShowMessage("Change in pin assertion notation shall be applicable\nonly when the "
                           "Pinforge is restarted.",
                           MessageIcon::Exclamation, MessageButtons::Ok);
    if (Host().HasMainWindow()) {
        Host().PostHostMessage(kHostMessageSettingsChanged);
        if (m_bFullSetup)
            Host().PostHostMessage(kHostMessageFullSetupDone);
    }
    EndDialog(kIdOk);
}

void CSetupPropSheet::OnCancel() {
    RereadLastFile(store_);
    if (m_PropertyPage.m_bInitialised)
        m_PropertyPage.OnCancel();
    EndDialog(kIdCancel);
}

void CSetupPropSheet::OnTemplateButton() {
    if (m_nMode == 3) {
        OnOK();
        return;
    }
    if (m_PropertyPage.m_bInitialised)
        m_PropertyPage.CommitEditRow();
    TransferPinPage(m_PinPage);
    if (m_SymbolPage.m_bInitialised && !m_SymbolPage.UpdateData(true)) {
        Refused(kSymbolPage);
        return;
    }
    TransferSymbolPage(m_SymbolPage);

    const std::pair<pfsetup::PropertyPage*, int> checks[] = {
        {&m_SymbolPage, kSymbolPage}, {&m_PinPage, kPinPage}, {&m_PropertyPage, kPropertyPage}};
    for (const auto& [page, index] : checks)
        if (page->m_bInitialised && !page->OnKillActive()) {
            Refused(index);
            return;
        }

    const FileDialogRequest request =
        TemplateFileRequest("Save Part Template", OverwritePrompt | HideReadOnly | PathMustExist);
    std::string path;
    if (!Host().SaveFileDialog(request, path))
        return;

    std::string defFile;
    std::string lastFile;
    store_.GetDefFileName(defFile);
    store_.GetLastReadWriteFileName(lastFile);
    store_.PutDefFileName(path);
    store_.SetupSaveForTemplate();
    store_.WriteSetup();
    for (int attempt = 0; attempt < 3 && !FileExists(path); ++attempt) {
        Host().ShowMessage("File write failure. The file " + path + " could not be saved to disk",
                           MessageIcon::None, MessageButtons::Ok);
        store_.WriteSetup();
    }
    store_.PutDefFileName(defFile);
    store_.PutLastReadWriteFileName(lastFile);
    ShowStoreLog(store_);

    if (Host().ShowMessage("Apply the template in current settings", MessageIcon::Question,
                           MessageButtons::YesNo) == MessageResult::Yes)
        OnOK();
    else
        OnCancel();
}
