// The Qt host services: filters, file dialog set-up, notifications, help and message boxes.
#include "ui/page_help.h"
#include "ui/qt_host_services.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace pfsetup {
namespace {

TEST(QtHostServices, FileFiltersInQtForm) {
    const std::pair<const char*, const char*> cases[] = {
        {"Template Files (*.tpl)|*.tpl||", "Template Files (*.tpl)"},
        {"Text|*.txt;*.log||", "Text (*.txt *.log)"},
        {"A (*.a)|*.a|All Files (*.*)|*.*||", "A (*.a);;All Files (*.*)"},
        {"", ""},
        {"no pattern", ""},
    };
    for (const auto& [original, qt] : cases)
        EXPECT_EQ(QtFileFilter(original).toStdString(), qt) << original;
}

TEST(QtHostServices, FileDialogTakesTheRequest) {
    FileDialogRequest request{"Save Part Template", "tpl", "template",
                              "Template Files (*.tpl)|*.tpl||",
                              OverwritePrompt | HideReadOnly | PathMustExist};
    QFileDialog save;
    ConfigureFileDialog(save, request, true);
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
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
    services.PostHostMessage(kHostMessageSettingsChanged); // nowhere to go

    EventRecorder window;
    services.SetMainWindow(&window);
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
    EXPECT_TRUE(services.HelpWindowText().startsWith("Format"));
    services.OpenHelp(0x1);
    EXPECT_EQ(services.HelpWindowText().toStdString(), HelpText(0x1));
    // Each page's help names the keys its fields set, with what they take.
    const std::pair<unsigned, const char*> pages[] = {{0x20211, "Symbol_Width."},
                                                      {0x20212, "PinType_<TYPE>."},
                                                      {0x20213, "the key Prop_<NAME>."},
                                                      {0x20214, "Format_ReadActiveLow."},
                                                      {0x20215, "Interpretation_NumAlphaNum."}};
    for (const auto& [id, key] : pages)
        EXPECT_NE(HelpText(id).find(std::string("\nSets ") + key), std::string::npos) << id;
    EXPECT_NE(HelpText(0x20211).find("from 1 to 100000"), std::string::npos);
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
