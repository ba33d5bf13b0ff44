#pragma once
// The setup dialogs behind CPFSetupMain::DisplaySetup and DisplaySetupForInterpretation.
// A host that links pfsetup::ui calls InstallSetupDialogs once; the core then reaches the
// dialogs through its hooks. The dialogs run in the host's QApplication, or in one made for
// them when the process has none.

#include <string>

class CPFCoreSetupAPI;
class CPFSetupMain;

namespace pfsetup {

// Installs the dialog hooks and the Qt host services (message boxes, file dialogs, help).
// Calling it again changes nothing.
void InstallSetupDialogs();

// The dialogs on a given store. `main.m_nSheetMode` chooses the mode; `main.m_pSheet` names
// the setup dialog while it runs. `written`, when given, tells whether the dialog ended with an
// OK that wrote the settings.
// The full setup dialog: true when OK was pressed at any time, also when a page refused that
// OK or its write failed and the user then cancelled (the sheet's m_bOkPressed). A project
// with entries a read does not take as written gets one warning listing them first.
bool RunSetupDialog(CPFSetupMain& main, CPFCoreSetupAPI& store, bool* written = nullptr);
// The pin-name interpretation dialog: 1 after OK, 2 after Cancel.
unsigned int RunInterpretationDialog(CPFSetupMain& main, CPFCoreSetupAPI& store,
                                     bool* written = nullptr);

// Builds the dialog as DisplaySetup (or, with `interpretation`, DisplaySetupForInterpretation)
// would, on the module's store, shows page `pageIndex` (-1: the page it opens on) and writes
// a picture of it to `pngPath`, offscreen when the process has no application yet. Nobody
// needs to answer it. False with `error` set when it cannot.
bool RenderSetupDialog(CPFSetupMain& main, bool interpretation, int pageIndex,
                       const std::string& pngPath, std::string& error);

} // namespace pfsetup
