// Qt's own buttons in the language a program shows.

#include <gtest/gtest.h>

#include <QtWidgets/QApplication>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QPushButton>

#include "common/locale/qt_translations.h"

namespace tavo {
namespace {

struct QtTranslationsTest : ::testing::Test {
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "qt_translations_tests", *argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) {
            new QApplication(argc, argv);
        }
    }
};

QString buttonText(QDialogButtonBox::StandardButton which) {
    QDialogButtonBox box(which);
    return box.button(which)->text();
}

TEST_F(QtTranslationsTest, QtsButtonsFollowTheLanguageChosenLast) {
    QtTranslations texts;
    // Each row is chosen after the one before.
    const struct {
        const char* name;
        bool japanese;
        QDialogButtonBox::StandardButton button;
        const char* text;
    } cases[] = {
        {"Japanese Save", true, QDialogButtonBox::Save, "保存"},
        {"Japanese Cancel", true, QDialogButtonBox::Cancel, "キャンセル"},
        {"back to English", false, QDialogButtonBox::Save, "Save"},
        {"Japanese again", true, QDialogButtonBox::Yes, "はい(&Y)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(texts.use(c.japanese), true) << "the catalogue is there";
        EXPECT_EQ(buttonText(c.button).toStdString(), c.text);
    }
}

} // namespace
} // namespace tavo
