#include "ui/setup_dialogs.h"

#include "host/host_services.h"
#include "persist/setup_main.h"
#include "setup/setup_store.h"
#include "ui/application.h"
#include "ui/qt_host_services.h"
#include "ui/setup_sheet.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>

#include <exception>
#include <memory>

namespace pfsetup {

namespace {

const char* const kCaption = "Pinforge Setup Options";

void Report(const std::string& text) {
    Host().ShowMessage("\nThe setup dialog is not available: " + text, MessageIcon::Stop,
                       MessageButtons::Ok);
}

// The sheet as the two entry points build it, not yet shown.
std::unique_ptr<CSetupPropSheet> MakeSheet(CPFSetupMain& main, CPFCoreSetupAPI& store,
                                           bool interpretation) {
    auto sheet = std::make_unique<CSetupPropSheet>(
        kCaption, nullptr, interpretation ? CSetupPropSheet::kInterpretationPage : 0, store);
    if (interpretation) {
        sheet->AddPages(0);
        sheet->m_bTabsEnabled = 0;
        sheet->m_bFullSetup = 0;
    } else {
        sheet->AddPages(static_cast<int>(main.m_nSheetMode));
        sheet->m_bFullSetup = 1;
        if (main.m_nSheetMode != 0) {
            sheet->SetTemplateFile(main.m_strTemplateFile);
        }
    }
    sheet->m_bModal = 1;
    return sheet;
}

// Clears m_pSheet however the dialog ends.
struct SheetInProgress {
    SheetInProgress(CPFSetupMain& m, CSetupPropSheet* sheet) : main(m) { main.m_pSheet = sheet; }
    ~SheetInProgress() { main.m_pSheet = nullptr; }
    SheetInProgress(const SheetInProgress&) = delete;
    SheetInProgress& operator=(const SheetInProgress&) = delete;
    CPFSetupMain& main;
};

bool DisplaySetupHook(CPFSetupMain& main) {
    CPFCoreSetupAPI* store = Pfsetup_store();
    if (!store) {
        Report("the module is not initialised");
        return false;
    }
    return RunSetupDialog(main, *store);
}

unsigned int DisplayInterpretationHook(CPFSetupMain& main) {
    CPFCoreSetupAPI* store = Pfsetup_store();
    if (!store) {
        Report("the module is not initialised");
        return 2;
    }
    return RunInterpretationDialog(main, *store);
}

} // namespace

void InstallSetupDialogs() {
    SetupDialogHooks hooks;
    hooks.displaySetup = &DisplaySetupHook;
    hooks.displaySetupForInterpretation = &DisplayInterpretationHook;
    SetSetupDialogHooks(hooks);
    SetHostServices(&QtHost());
}

bool RunSetupDialog(CPFSetupMain& main, CPFCoreSetupAPI& store, bool* written) {
    if (written) {
        *written = false;
    }
    try {
        std::string error;
        if (!EnsureApplication(ApplicationDisplay::Screen, error)) {
            Report(error);
            return false;
        }
        // In template modes the store already holds the template the host loaded.
        if (main.m_nSheetMode == 0) {
            store.ReadSetup();
            ShowStoreLog(store);
        }
        std::unique_ptr<CSetupPropSheet> sheet = MakeSheet(main, store, false);
        SheetInProgress inProgress(main, sheet.get());
        sheet->Create();
        sheet->WarnOfKeptEntries();
        // Only an OK that went through ends the dialog with 1: one the pages refused, or whose
        // write failed, kept the dialog open.
        const bool ok = sheet->DoModal() == CSetupPropSheet::kIdOk;
        if (written) {
            *written = ok;
        }
        return sheet->m_bOkPressed;
    } catch (const std::exception& e) {
        Report(e.what());
        return false;
    }
}

unsigned int RunInterpretationDialog(CPFSetupMain& main, CPFCoreSetupAPI& store, bool* written) {
    if (written) {
        *written = false;
    }
    try {
        std::string error;
        if (!EnsureApplication(ApplicationDisplay::Screen, error)) {
            Report(error);
            return 2;
        }
        std::unique_ptr<CSetupPropSheet> sheet = MakeSheet(main, store, true);
        if (sheet->DoModal() == CSetupPropSheet::kIdOk) {
            TransferInterpretationPage(sheet->m_InterpretationPage);
            const int wrote = store.WriteCPMFile();
            ShowStoreLog(store);
            if (written) {
                *written = wrote != 0;
            }
            return 1;
        }
        std::string last;
        store.GetLastReadWriteFileName(last);
        if (!last.empty()) {
            store.PutDefFileName(last);
            store.ReadSetup();
            ShowStoreLog(store);
        }
        return 2;
    } catch (const std::exception& e) {
        Report(e.what());
        return 2;
    }
}

bool RenderSetupDialog(CPFSetupMain& main, bool interpretation, int pageIndex,
                       const std::string& pngPath, std::string& error) {
    try {
        CPFCoreSetupAPI* store = Pfsetup_store();
        if (!store) {
            error = "the module is not initialised";
            return false;
        }
        if (!EnsureApplication(ApplicationDisplay::Offscreen, error)) {
            return false;
        }
        if (!interpretation && main.m_nSheetMode == 0) {
            store->ReadSetup();
        }
        std::unique_ptr<CSetupPropSheet> sheet = MakeSheet(main, *store, interpretation);
        if (pageIndex >= sheet->GetPageCount()) {
            error = "the dialog has no page " + std::to_string(pageIndex);
            return false;
        }
        sheet->setAttribute(Qt::WA_DontShowOnScreen);
        sheet->Create();
        if (pageIndex >= 0) {
            sheet->ShowPage(pageIndex);
        }
        sheet->show();
        QApplication::processEvents();
        const QPixmap picture = sheet->grab();
        sheet->hide();
        if (!picture.save(QFile::decodeName(pngPath.c_str()), "PNG")) {
            error = "cannot write " + pngPath;
            return false;
        }
        return true;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}

} // namespace pfsetup
