#include "ui/qt_host_services.h"

#include "ui/application.h"
#include "ui/kit/control.h"
#include "ui/page_help.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStringList>
#include <QVBoxLayout>

namespace pfsetup {

namespace {

// Message boxes and file dialogs sit over the dialog the user is working in.
QWidget* DialogParent(QWidget* mainWindow) {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    return mainWindow;
}

QMessageBox::Icon QtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Qt's widgets need an application object; without one (and no display to make one on) the
// console answers instead.
bool HaveApplication() {
    std::string error;
    return EnsureApplication(ApplicationDisplay::Screen, error) != nullptr;
}

ConsoleHostServices& Console() {
    static ConsoleHostServices console;
    return console;
}

} // namespace

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
        }
        if (description.isEmpty() || patterns.isEmpty()) {
            continue;
        }
        // Qt takes the patterns from the parentheses that end the description.
        const QString shown = QLatin1Char('(') + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
        filters << (description.endsWith(shown) ? description
                                                : description + QLatin1Char(' ') + shown);
    }
    return filters.join(QStringLiteral(";;"));
}

void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request, bool save) {
    dialog.setWindowTitle(ToQString(request.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && (request.flags & FileMustExist) ? QFileDialog::ExistingFile
                                                                : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(ToQString(request.defaultExtension));
    const QString filter = QtFileFilter(request.filter);
    if (!filter.isEmpty()) {
        dialog.setNameFilter(filter);
    }
    dialog.setOption(QFileDialog::DontConfirmOverwrite,
                     !save || !(request.flags & OverwritePrompt));
    // Qt's dialogs have no read-only box, so HideReadOnly needs nothing.
    if (!request.initialName.empty()) {
        dialog.selectFile(QFile::decodeName(request.initialName.c_str()));
    }
}

MessageResult QtHostServices::ShowMessage(const std::string& text, MessageIcon icon,
                                          MessageButtons buttons) {
    if (!HaveApplication()) {
        return Console().ShowMessage(text, icon, buttons);
    }
    QMessageBox box(DialogParent(mainWindow_));
    box.setWindowTitle(QGuiApplication::applicationDisplayName());
    box.setTextFormat(Qt::PlainText);
    box.setText(ToQString(text));
    box.setIcon(QtIcon(icon));
    if (buttons != MessageButtons::Ok) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(buttons == MessageButtons::YesNo ? QMessageBox::Yes : QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MessageResult::Yes : MessageResult::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageResult::Ok;
}

bool QtHostServices::FileDialog(const FileDialogRequest& request, bool save, std::string& path) {
    if (!HaveApplication()) {
        return false;
    }
    QFileDialog dialog(DialogParent(mainWindow_));
    ConfigureFileDialog(dialog, request, save);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString chosen = dialog.selectedFiles().constFirst();
        if ((request.flags & PathMustExist) && !QFileInfo(chosen).absoluteDir().exists()) {
            ShowMessage(ToStdString(chosen) +
                            "\nThe folder does not exist.\nCheck the path and try again.",
                        MessageIcon::Exclamation, MessageButtons::Ok);
            continue;
        }
        path = QFile::encodeName(chosen).toStdString();
        return true;
    }
    return false;
}

bool QtHostServices::OpenFileDialog(const FileDialogRequest& request, std::string& path) {
    return FileDialog(request, false, path);
}

bool QtHostServices::SaveFileDialog(const FileDialogRequest& request, std::string& path) {
    return FileDialog(request, true, path);
}

void QtHostServices::PostHostMessage(unsigned message) {
    if (!mainWindow_ || message > static_cast<unsigned>(QEvent::MaxUser - QEvent::User)) {
        return;
    }
    const auto type = static_cast<QEvent::Type>(QEvent::User + static_cast<int>(message));
    QCoreApplication::postEvent(mainWindow_, new QEvent(type));
}

void QtHostServices::OpenHelp(unsigned contextId) {
    if (!HaveApplication()) {
        return;
    }
    if (!help_) {
        help_ = new QDialog(DialogParent(mainWindow_));
        help_->setObjectName(QStringLiteral("pfsetupHelp"));
        help_->setAttribute(Qt::WA_DeleteOnClose);
        help_->setWindowModality(Qt::NonModal);
        help_->setWindowTitle(QStringLiteral("Help"));
        auto* text = new QPlainTextEdit(help_);
        text->setReadOnly(true);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, help_);
        QObject::connect(buttons, &QDialogButtonBox::rejected, help_, &QDialog::close);
        auto* layout = new QVBoxLayout(help_);
        layout->addWidget(text);
        layout->addWidget(buttons);
        // Thirty lines of about sixty wide characters; the text scrolls.
        const QFontMetrics metrics(text->font());
        help_->resize(metrics.horizontalAdvance(QString(80, QLatin1Char('m'))) * 3 / 4,
                      metrics.lineSpacing() * 30);
    }
    help_->findChild<QPlainTextEdit*>()->setPlainText(ToQString(HelpText(contextId)));
    help_->show();
    help_->raise();
}

QString QtHostServices::HelpWindowText() const {
    return help_ ? help_->findChild<QPlainTextEdit*>()->toPlainText() : QString();
}

QtHostServices& QtHost() {
    static QtHostServices services;
    return services;
}

} // namespace pfsetup
