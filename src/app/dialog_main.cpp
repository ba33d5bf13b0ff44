// pfsetup-dialog: the setup dialogs behind `pfsetup dialog`, in a program of their own so that
// the tool's other commands load no Qt library. The tool checks the request and runs this
// program in its place with the same options.

#include "app/commands.h"
#include "app/dialog_launch.h"
#include "app/tool.h"

#include <CLI/CLI.hpp>
#include <QString>
#include <QtGlobal>

namespace {

// Qt's notes on how it started (XDG_RUNTIME_DIR not set, what the offscreen platform cannot
// do) are no concern of the person at the shell; its critical and fatal messages are.
// QT_LOGGING_RULES, set to anything, shows every message of Qt again.
void ShowSeriousQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        pfsetup::app::Error("", text.toStdString());
}

} // namespace

int main(int argc, char** argv) {
    using namespace pfsetup::app;
    CLI::App app{"The setup dialog on a project; run it as `pfsetup dialog`.", "pfsetup dialog"};
    DialogRequest request;
    AddDialogOptions(app, request);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        Error("", e.what());
        return kBadInput;
    }
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qInstallMessageHandler(&ShowSeriousQtMessages);
    return DialogCommand(request);
}
