// The Qt host services: filters, file dialog set-up, notifications, help and message boxes.
#include "ui/qt_host_services.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace pfsetup {
namespace {

TEST(QtHostServices, FileFiltersInQtForm) {
    const struct {
        const char* original;
        const char* qt;
    } cases[] = {
        {"Template Files (*.tpl)|*.tpl||", "Template Files (*.tpl)"},
        {"Text|*.txt;*.log||", "Text (*.txt *.log)"},
        {"A (*.a)|*.a|All Files (*.*)|*.*||", "A (*.a);;All Files (*.*)"},
        {"", ""},
        {"no pattern", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QtFileFilter(c.original).toStdString(), c.qt) << c.original;
}

TEST(QtHostServices, FileDialogTakesTheRequest) {
    FileDialogRequest request;
    request.title = "Save Part Template";
    request.defaultExtension = "tpl";
    request.initialName = "template";
    request.filter = "Template Files (*.tpl)|*.tpl||";
    request.flags = OverwritePrompt | HideReadOnly | PathMustExist;
    QFileDialog save;
    ConfigureFileDialog(save, request, true);
    EXPECT_EQ(save.windowTitle(), "Save Part Template");
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(save.defaultSuffix(), "tpl");
    EXPECT_EQ(save.nameFilters(), QStringList{"Template Files (*.tpl)"});
    EXPECT_FALSE(save.testOption(QFileDialog::DontConfirmOverwrite));

    request.flags = FileMustExist | PathMustExist;
    QFileDialog open;
    ConfigureFileDialog(open, request, false);
    EXPECT_EQ(open.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open.fileMode(), QFileDialog::ExistingFile);
}

class EventRecorder : public QWidget {
public:
    std::vector<int> types;

protected:
    bool event(QEvent* e) override {
        if (e->type() >= QEvent::User)
            types.push_back(e->type() - QEvent::User);
        return QWidget::event(e);
    }
};

TEST(QtHostServices, NotificationsGoToARegisteredMainWindowOnly) {
    QtHostServices services;
    EXPECT_FALSE(services.HasMainWindow());
    services.PostHostMessage(kHostMessageSettingsChanged); // nowhere to go

    EventRecorder window;
    services.SetMainWindow(&window);
    EXPECT_TRUE(services.HasMainWindow());
    services.PostHostMessage(kHostMessageSettingsChanged);
    services.PostHostMessage(kHostMessageFullSetupDone);
    EXPECT_TRUE(window.types.empty()); // posted, not sent
    QApplication::processEvents();
    EXPECT_EQ(window.types, (std::vector<int>{0x40E, 0x40F}));
}

TEST(QtHostServices, HelpShowsThePageText) {
    QtHostServices services;
    services.OpenHelp(0x20214);
    ASSERT_NE(services.HelpWindow(), nullptr);
    EXPECT_TRUE(services.HelpWindow()->isVisible());
    EXPECT_TRUE(services.HelpWindow()->text().startsWith("Format"));
    services.OpenHelp(0x1);
    EXPECT_EQ(services.HelpWindow()->text().toStdString(), HelpText(0x1));
    services.HelpWindow()->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(services.HelpWindow(), nullptr);
}

TEST(QtHostServices, MessageBoxAnswers) {
    QtHostServices services;
    QString shown;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        icon = box->icon();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(
        services.ShowMessage("Apply <b>it</b>?", MessageIcon::Question, MessageButtons::YesNo),
        MessageResult::No);
    EXPECT_EQ(shown, "Apply <b>it</b>?");
    EXPECT_EQ(icon, QMessageBox::Question);
}

} // namespace
} // namespace pfsetup
