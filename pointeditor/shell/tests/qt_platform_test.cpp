#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QMessageBox>
#include <memory>

#include "pointeditor/shell/device_session.h"
#include "pointeditor/shell/editor_window.h"
#include "pointeditor/shell/qt_platform.h"
#include "pointeditor/shell/tests/modal_script.h"
#include "pointeditor/shell/tests/qt_app.h"
#include "pointeditor/shell/tests/recording_handlers.h"

namespace tavo {
namespace {

class QtPlatformServices : public ::testing::Test {
  protected:
    testing::QtAppUser app;
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    std::unique_ptr<Canvas> canvas = std::make_unique<Canvas>();
    testing::HandlerLog log;
    EditorWindow window{*state, *canvas, testing::recordingHandlers(log)};
    DeviceSession session{*canvas};
    QtPlatform platform{&window, session};
};

TEST_F(QtPlatformServices, MessageBoxesCarryCaptionTextButtonsIconAndOwner) {
    window.show();
    struct Seen {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QWidget* parent = nullptr;
        int buttons = 0;
    } seen;
    auto look = [&seen](QWidget& modal, QMessageBox::StandardButton press) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), box->parentWidget(),
                static_cast<int>(box->buttons().size())};
        box->button(press)->click();
    };

    testing::whenModalOpens([&](QWidget& m) { look(m, QMessageBox::Ok); });
    EXPECT_EQ(platform.messageBox("Direct3Dの初期化に失敗しました", "ERROR", BoxButtons::Ok,
                                  BoxIcon::Error, true),
              BoxAnswer::Ok);
    EXPECT_EQ(seen.title, "ERROR");
    EXPECT_EQ(seen.text, QString::fromUtf8("Direct3Dの初期化に失敗しました"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.parent, nullptr);
    EXPECT_EQ(seen.buttons, 1);

    const int framesBefore = log.frames();
    testing::whenModalOpens([&](QWidget& m) { look(m, QMessageBox::Cancel); });
    EXPECT_EQ(platform.messageBox("DELETE OK?", "DELETE", BoxButtons::OkCancel, BoxIcon::Question),
              BoxAnswer::Cancel);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.parent, &window);
    EXPECT_EQ(seen.buttons, 2);
    EXPECT_GT(log.frames(), framesBefore); // the window is drawn while its box is up

    testing::whenModalOpens([&](QWidget& m) { look(m, QMessageBox::Ok); });
    EXPECT_EQ(platform.messageBox("NO POINT", "SAVE", BoxButtons::Ok, BoxIcon::None),
              BoxAnswer::Ok);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    window.hide();
}

TEST_F(QtPlatformServices, SaveDialogAsksBeforeOverwritingAndAddsNoExtension) {
    QTemporaryDir dir;
    const QString existing = dir.filePath("points.pd1");
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const FileFilter filter{"point data version 1 (pd1)", "*.pd1"};
    bool askedToReplace = false;
    testing::whenModalOpens([&](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "save");
        EXPECT_EQ(dialog->nameFilters(), QStringList{"point data version 1 (pd1) (*.pd1)"});
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog->parentWidget(), &window);
        // An existing file: the question comes, "No" keeps the dialog open.
        testing::whenModalOpens([&, dialog](QWidget& question) {
            auto* box = qobject_cast<QMessageBox*>(&question);
            askedToReplace = box != nullptr;
            if (box != nullptr) {
                box->button(QMessageBox::No)->click();
            }
            testing::whenModalOpens([dialog, &dir](QWidget&) {
                dialog->selectFile(dir.filePath("mission"));
                static_cast<QDialog*>(dialog)->accept(); // as the Save button does
            });
        });
        dialog->selectFile(existing);
        static_cast<QDialog*>(dialog)->accept(); // as the Save button does
    });
    const auto chosen = platform.saveFileDialog("save", filter);
    EXPECT_TRUE(askedToReplace);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, dir.filePath("mission").toStdString());
}

TEST_F(QtPlatformServices, OpenDialogCancelledGivesNoPath) {
    testing::whenModalOpens([](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "load block");
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        dialog->reject();
    });
    EXPECT_EQ(platform.openFileDialog("load block", {"block data version 1 (bd1)", "*.bd1"}),
              std::nullopt);
}

} // namespace
} // namespace tavo
