// pfsetup-dialog: the setup dialogs behind `pfsetup dialog`, in a program of their own so that
// the tool's other commands load no Qt library. The tool checks the request and runs this
// program in its place with the same options.

#include "app/commands.h"
#include "app/dialog_launch.h"
#include "app/tool.h"
#include "base/ascii_text.h"

#include <CLI/CLI.hpp>
#include <QString>
#include <QtGlobal>

#include <cstdlib>
#include <iostream>

namespace {

bool g_allQtMessages = false;

// Qt's notes on how it started (XDG_RUNTIME_DIR not set, what the offscreen platform cannot
// do) are no concern of the person at the shell; its critical messages are. QT_LOGGING_RULES,
// set to anything, shows every message of Qt again. A fatal message comes when Qt cannot open
// the display (a wrong DISPLAY, no desktop session): it is told in the tool's voice and the
// program ends with the status of a file that cannot be opened, instead of Qt's abort.
void ShowSeriousQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg) {
        const char* display = std::getenv("WAYLAND_DISPLAY");
        if (!display || !*display) {
            display = std::getenv("DISPLAY");
        }
        pfsetup::ErrorRecord record = pfsetup::Failure(pfsetup::ErrorKind::Access, "",
                                                       std::string("cannot open the display ") +
                                                           pfsetup::Quoted(display ? display : ""));
        record.allowed = "the setup dialog needs a desktop session; --screenshot works without "
                         "one";
        pfsetup::app::Report(record);
        if (g_allQtMessages) {
            std::cerr << text.toStdString() << "\n";
        }
        std::_Exit(pfsetup::app::kFileError);
    }
    if (g_allQtMessages || type == QtCriticalMsg) {
        pfsetup::app::Error("", text.toStdString());
    }
}

int Run(int argc, char** argv) {
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
    g_allQtMessages = !qEnvironmentVariableIsEmpty("QT_LOGGING_RULES");
    qInstallMessageHandler(&ShowSeriousQtMessages);
    // A picture needs no person, so no display either.
    if (!request.screenshot.empty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return DialogCommand(request);
}

} // namespace

int main(int argc, char** argv) {
    return pfsetup::app::RunProgram(Run, argc, argv);
}
