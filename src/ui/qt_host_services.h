#pragma once
// HostServices for the Qt dialogs: message boxes, file dialogs and help windows on screen.
// Our own programs have no host main window; a host that has one registers it, and the
// notifications after the setup dialog's OK are then posted to it as events of type
// QEvent::User + message. Where no application object can be made (no display), messages go
// to the console and file dialogs are cancelled.

#include "host/host_services.h"

#include <QMessageBox>
#include <QPointer>
#include <QString>

#include <string>

class QDialog;
class QFileDialog;
class QWidget;

namespace pfsetup {

// The original framework's filter, pairs of description and pattern separated by '|' and
// ending in "||", as Qt's filter: "Template Files (*.tpl)|*.tpl||" -> "Template Files (*.tpl)".
// Several filters are joined with ";;"; patterns separated by ';' become blank-separated.
QString QtFileFilter(const std::string& filter);

// Title, default extension, initial name, filter and flags of `request` on `dialog`.
void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request, bool save);

class QtHostServices : public HostServices {
public:
    MessageResult ShowMessage(const std::string& text, MessageIcon icon,
                              MessageButtons buttons) override;
    bool OpenFileDialog(const FileDialogRequest& request, std::string& path) override;
    bool SaveFileDialog(const FileDialogRequest& request, std::string& path) override;
    bool HasMainWindow() override { return !mainWindow_.isNull(); }
    void PostHostMessage(unsigned message) override;
    // A window beside the dialog with the page's help, its text scrolled when long; one at a
    // time.
    void OpenHelp(unsigned contextId) override;

    // Not owned; null (the default) means there is no main window.
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }
    QWidget* MainWindow() const { return mainWindow_; }
    // The help window while it is open, else null, and the text it shows.
    QDialog* HelpWindow() const { return help_; }
    QString HelpWindowText() const;

private:
    bool FileDialog(const FileDialogRequest& request, bool save, std::string& path);

    QPointer<QWidget> mainWindow_;
    QPointer<QDialog> help_;
};

// The module's Qt services; InstallSetupDialogs installs them.
QtHostServices& QtHost();

} // namespace pfsetup
