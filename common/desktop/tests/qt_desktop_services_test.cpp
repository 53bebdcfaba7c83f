// Both programs' save dialogs: the extension they add to a name typed without one.

#include <gtest/gtest.h>

#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>
#include <functional>
#include <string>

#include "common/desktop/qt_desktop_services.h"

namespace tavo {
namespace {

struct Dialogs : ::testing::Test {
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "qt_desktop_tests", *argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) {
            new QApplication(argc, argv);
        }
    }
};

const FileFilter Points{"point data version 1 (pd1)", "*.pd1"};
const FileFilter Missions{"mission information file (mif)", "*.mif"};

TEST(DefaultSuffix, ThePatternsExtensionOnlyWhenItIsPlain) {
    const struct {
        const char* name;
        const char* pattern;
        const char* suffix;
    } cases[] = {
        {"points", "*.pd1", "pd1"},   {"anything", "*", ""},
        {"two dots", "*.tar.gz", ""}, {"a wildcard after the dot", "*.p?1", ""},
        {"a set", "*.[pP]d1", ""},    {"two patterns", "*.pd1 *.PD1", ""},
        {"no star", "plan.pd1", ""},  {"a bare dot", "*.", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(defaultSuffixFor({"", c.pattern}), c.suffix) << c.name;
    }
}

// Runs `inside` on the file dialog once it is up; it answers the dialog.
void whileOpen(const std::function<void(QFileDialog&)>& inside) {
    QTimer::singleShot(0, [inside] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no file dialog is open";
        inside(*dialog);
    });
}

TEST_F(Dialogs, ANameTypedWithoutAnExtensionGetsTheFilters) {
    QTemporaryDir folder;
    const struct {
        const char* name;
        bool ownDialog;
        FileFilter filter;
        const char* typed;
        const char* saved;
    } cases[] = {
        {"the point editor's", true, Points, "plan", "plan.pd1"},
        {"the mission editor's", false, Missions, "plan", "plan.mif"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DesktopStyle style;
        style.ownFileDialog = c.ownDialog;
        QtDesktopServices services(nullptr, style);
        QString suffix;
        whileOpen([&](QFileDialog& dialog) {
            suffix = dialog.defaultSuffix();
            dialog.selectFile(folder.filePath(c.typed));
            static_cast<QDialog&>(dialog).accept(); // as the Save button does
        });
        const std::optional<std::string> chosen =
            services.saveFileDialog("save", c.filter, std::string());
        EXPECT_EQ(suffix.toStdString(), c.filter.pattern.substr(2)) << "the dialog's suffix";
        EXPECT_EQ(chosen, folder.filePath(c.saved).toStdString()) << "the file saved to";
    }
}

} // namespace
} // namespace tavo
