#include "ui/setup_sheet.h"

#include "base/error_record.h"
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
    store.GetLogError(log);
    // A failure is told by its record, in one message; a call that went through logs warnings.
    const std::string shown = LastError().Failed() ? DescribeError(LastError()) : log;
    if (!shown.empty()) {
        Host().ShowMessage(shown, MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

} // namespace pfsetup

namespace {

// Re-reads the store from the file it was last read from or written to, if there is one.
void RereadLastFile(CPFCoreSetupAPI& store) {
    std::string last;
    store.GetLastReadWriteFileName(last);
    if (last.empty()) {
        return;
    }
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

void CSetupPropSheet::SetTemplateFile(const std::string& path) {
    templateFile_ = path;
}

void CSetupPropSheet::AddPages(int mode) {
    for (SetupPage* page : std::initializer_list<SetupPage*>{
             &m_PropertyPage, &m_PinPage, &m_SymbolPage, &m_FormatPage, &m_InterpretationPage}) {
        page->SetSources(&sources_);
    }
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
    std::string project;
    store_.GetLastReadWriteFileName(project);
    sources_.SetFiles(project, m_nMode != 0 ? templateFile_ : std::string());
    PropertySheet::OnInitDialog();
    for (int id : {kIdCancel, kIdHelp}) {
        GetButton(id)->setVisible(true);
        GetButton(id)->setEnabled(true);
    }
    std::string text = "Save..";
    // The template being edited or opened, by its file name.
    const std::string named =
        templateFile_.empty() ? std::string()
                              : " - " + templateFile_.substr(templateFile_.find_last_of('/') + 1);
    if (m_nMode == 1) {
        SetTitle("Edit Template" + named);
    } else if (m_nMode == 2) {
        SetTitle("New Template");
    } else if (m_nMode == 3) {
        text = "Apply";
        SetTitle("Open Template" + named);
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
    if (!m_bTabsEnabled) {
        EnableTabControl(false);
    }
    return true;
}

void CSetupPropSheet::WarnOfKeptEntries() {
    Create();
    const std::string message = KeptEntriesMessage(sources_.KeptEntries());
    if (!message.empty()) {
        Host().ShowMessage(message, MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

void CSetupPropSheet::Refused(int pageIndex) {
    if (m_bTabsEnabled) {
        ShowRefusal(pageIndex);
    }
}

bool CSetupPropSheet::PagesAccept(std::initializer_list<int> pageIndices) {
    for (int index : pageIndices) {
        pfsetup::PropertyPage* page = GetPage(index);
        if (page && page->m_bInitialised && !page->OnKillActive()) {
            Refused(index);
            return false;
        }
    }
    return true;
}

void CSetupPropSheet::OnOK() {
    m_bOkPressed = true;
    if (!PagesAccept({kPropertyPage})) {
        return;
    }
    if (m_PropertyPage.m_bInitialised) {
        m_PropertyPage.OnOK();
    }
    if (!PagesAccept({kPinPage})) {
        return;
    }
    TransferPinPage(m_PinPage);
    if (!PagesAccept({kSymbolPage})) {
        return;
    }
    TransferSymbolPage(m_SymbolPage);
    if (m_nMode == 0) {
        if (m_FormatPage.m_bInitialised) {
            m_FormatPage.UpdateData(true);
        }
        TransferFormatPage(m_FormatPage);
        if (!PagesAccept({kInterpretationPage})) {
            return;
        }
        if (m_InterpretationPage.m_bInitialised) {
            m_InterpretationPage.OnOK();
        }
        TransferInterpretationPage(m_InterpretationPage);
    }

    std::string file;
    store_.GetCPMFileName(file);
    // Without a project file the settings stay in the store: there is nothing to write.
    if (!file.empty()) {
        const int written = store_.WriteCPMFile();
        ShowStoreLog(store_);
        // After a failure the dialog stays open with every edit: the user can fix the cause
        // and press OK again, or cancel. The host hears of nothing.
        if (!written) {
            return;
        }
    }
    if (m_nMode == 0 && store_.HasReadActiveLowPinNotationChanged()) {
        Host().ShowMessage("Change in pin assertion notation shall be applicable\nonly when the "
                           "Pinforge is restarted.",
                           MessageIcon::Exclamation, MessageButtons::Ok);
    }
    if (Host().HasMainWindow()) {
        Host().PostHostMessage(kHostMessageSettingsChanged);
        if (m_bFullSetup) {
            Host().PostHostMessage(kHostMessageFullSetupDone);
        }
    }
    EndDialog(kIdOk);
}

void CSetupPropSheet::OnCancel() {
    RereadLastFile(store_);
    if (m_PropertyPage.m_bInitialised) {
        m_PropertyPage.OnCancel();
    }
    EndDialog(kIdCancel);
}

void CSetupPropSheet::OnTemplateButton() {
    if (m_nMode == 3) {
        OnOK();
        return;
    }
    // Every check first: a refusal moves nothing into the store.
    if (!PagesAccept({kSymbolPage, kPinPage, kPropertyPage})) {
        return;
    }
    m_PropertyPage.CommitEditRow();
    TransferPinPage(m_PinPage);
    TransferSymbolPage(m_SymbolPage);

    FileDialogRequest request =
        TemplateFileRequest("Save Part Template", OverwritePrompt | HideReadOnly | PathMustExist);
    if (!templateFile_.empty()) {
        request.initialName = templateFile_;
    }
    std::string path;
    if (!Host().SaveFileDialog(request, path)) {
        return;
    }

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
                           MessageButtons::YesNo) == MessageResult::Yes) {
        OnOK();
    } else {
        OnCancel();
    }
}
