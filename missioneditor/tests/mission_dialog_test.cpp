#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "missioneditor/controls.h"
#include "missioneditor/mission_dialog.h"
#include "missioneditor/mission_file.h"
#include "missioneditor/start_language.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tavo::mission {
namespace {

class QtApp : public ::testing::Environment {
  public:
    void SetUp() override { app_ = new QApplication(argc_, argv_); }
    void TearDown() override { delete app_; }

  private:
    int argc_ = 1;
    char name_[16] = "mission_dialog";
    char* argv_[2] = {name_, nullptr};
    QApplication* app_ = nullptr;
};
[[maybe_unused]] auto* const qtApp = ::testing::AddGlobalTestEnvironment(new QtApp);

// Records every file request and error box; answers file requests from a queue that the test
// fills beforehand (an empty queue cancels).
class FakeDialogServices : public DialogServices {
  public:
    struct Box {
        QString text;
        QString caption;
    };
    std::vector<FileRequest> requests;
    std::vector<Box> boxes;
    std::deque<std::optional<QString>> answers;

    std::optional<QString> chooseFile(QWidget*, const FileRequest& request) override {
        requests.push_back(request);
        std::optional<QString> answer;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        return answer;
    }
    void errorBox(const QString& text, const QString& caption) override {
        boxes.push_back({text, caption});
    }
};

class MissionDialogTest : public ::testing::Test {
  protected:
    FakeDialogServices services;
    QTemporaryDir dir;

    QString text(const MissionDialog& dialog, int id) {
        QWidget* control = dialog.control(id);
        if (auto* label = qobject_cast<QLabel*>(control))
            return label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            return button->text();
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            return edit->text();
        if (auto* edit = qobject_cast<QPlainTextEdit*>(control))
            return edit->toPlainText();
        return {};
    }
    QLineEdit* edit(const MissionDialog& dialog, int id) {
        return qobject_cast<QLineEdit*>(dialog.control(id));
    }
    QCheckBox* check(const MissionDialog& dialog, int id) {
        return qobject_cast<QCheckBox*>(dialog.control(id));
    }
    QComboBox* skyList(const MissionDialog& dialog) {
        return qobject_cast<QComboBox*>(dialog.control(kSkyList));
    }
    QStringList skyRows(const MissionDialog& dialog) {
        QStringList rows;
        for (int i = 0; i < skyList(dialog)->count(); ++i)
            rows << skyList(dialog)->itemText(i);
        return rows;
    }
    void press(const MissionDialog& dialog, int id) {
        qobject_cast<QPushButton*>(dialog.control(id))->click();
    }
    QString writeFile(const char* name, const std::string& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }
};

const QStringList kJapaneseSkies = {"なし（黒）", "晴れ", "曇り", "夜", "夕方", "荒地"};
const QStringList kEnglishSkies = {"black", "sunny",         "cloudy",
                                   "night", "early evening", "waste land"};

TEST_F(MissionDialogTest, StartsAsANewMissionInTheLocalesLanguage) {
    for (bool japanese : {true, false}) {
        MissionDialog dialog(services, japanese);
        for (int id : kControlIds) {
            EXPECT_NE(dialog.control(id), nullptr) << id;
        }
        EXPECT_EQ(dialog.windowTitle(), "TAVO MISSION INFORMATION FILE EDITOR");
        EXPECT_EQ(dialog.size(), QSize(748, 360));
        EXPECT_EQ(dialog.control(kBriefingEdit)->geometry(), QRect(380, 110, 360, 200));

        EXPECT_EQ(dialog.english(), !japanese);
        EXPECT_EQ(text(dialog, kMissionNameLabel), japanese ? "ミッション識別名" : "mission title");
        EXPECT_EQ(text(dialog, kImage2Check), japanese ? "画像２枚" : "two images");
        EXPECT_EQ(text(dialog, kDarkScreenCheck), japanese ? "画面を暗く" : "dark screen");
        EXPECT_EQ(text(dialog, kLanguageButton), japanese ? "ENGLISH" : "日本語");
        EXPECT_EQ(skyRows(dialog), japanese ? kJapaneseSkies : kEnglishSkies);
        EXPECT_FALSE(dialog.control(kAddonObjectEdit)->isEnabled());
        EXPECT_FALSE(dialog.control(kImage2Edit)->isEnabled());

        MissionInfo expected; // sky 0, no flags, both optional paths off
        expected.blockPath = ".\\";
        expected.pointPath = ".\\addon\\";
        expected.image1Path = ".\\data\\briefing\\np.bmp";
        EXPECT_EQ(dialog.missionInfo(), expected);
    }
}

TEST_F(MissionDialogTest, SwitchingTwiceRestoresEveryLabelAndKeepsTheSky) {
    MissionDialog dialog(services, true);
    skyList(dialog)->setCurrentIndex(4);
    QStringList before;
    for (int id : kControlIds)
        before << text(dialog, id);

    press(dialog, kLanguageButton);
    EXPECT_TRUE(dialog.english());
    EXPECT_EQ(text(dialog, kBriefingLabel), "briefing text");
    EXPECT_EQ(text(dialog, kAddonObjectCheck), "add-on obj");
    EXPECT_EQ(text(dialog, kLanguageButton), "日本語");
    EXPECT_EQ(skyRows(dialog), kEnglishSkies);
    EXPECT_EQ(skyList(dialog)->currentIndex(), 4);

    press(dialog, kLanguageButton);
    QStringList after;
    for (int id : kControlIds)
        after << text(dialog, id);
    EXPECT_EQ(after, before);
    EXPECT_EQ(skyRows(dialog), kJapaneseSkies);
    EXPECT_EQ(skyList(dialog)->currentIndex(), 4);
}

TEST_F(MissionDialogTest, LoadShowsTheFileAndTheOnOffPaths) {
    MissionDialog dialog(services, false);
    const std::string head = "m\r\nfull\r\nb\r\np\r\n5\r\n3\r\n";
    services.answers = {
        writeFile("none.mif", head + "!\r\nimg\r\n!\r\nline 1\r\nline 2"),
        writeFile("both.mif", head + ".\\addon\\o.x\r\nimg\r\nimg2\r\n"),
    };

    press(dialog, kLoadButton);
    ASSERT_EQ(services.requests.size(), 1u);
    EXPECT_EQ(services.requests[0].title, "LOAD");
    EXPECT_EQ(services.requests[0].filterName, "mission information file (mif)");
    EXPECT_EQ(services.requests[0].filterPattern, "*.mif");
    EXPECT_FALSE(services.requests[0].save);
    EXPECT_EQ(text(dialog, kFullNameEdit), "full");
    EXPECT_EQ(skyList(dialog)->currentIndex(), 5);
    EXPECT_TRUE(check(dialog, kExtraCollisionCheck)->isChecked());
    EXPECT_TRUE(check(dialog, kDarkScreenCheck)->isChecked());
    EXPECT_EQ(text(dialog, kBlockPathEdit), "b"); // the defaults are replaced
    EXPECT_EQ(text(dialog, kBriefingEdit), "line 1\nline 2");
    for (int id : {kAddonObjectEdit, kImage2Edit}) {
        EXPECT_FALSE(dialog.control(id)->isEnabled()) << id;
        EXPECT_EQ(text(dialog, id), "") << id;
    }
    EXPECT_FALSE(check(dialog, kAddonObjectCheck)->isChecked());
    EXPECT_FALSE(check(dialog, kImage2Check)->isChecked());

    check(dialog, kAddonObjectCheck)->click();
    EXPECT_TRUE(dialog.control(kAddonObjectEdit)->isEnabled());
    EXPECT_EQ(text(dialog, kAddonObjectEdit), "");
    check(dialog, kAddonObjectCheck)->click();
    EXPECT_FALSE(dialog.control(kAddonObjectEdit)->isEnabled());

    press(dialog, kLoadButton);
    EXPECT_TRUE(check(dialog, kAddonObjectCheck)->isChecked());
    EXPECT_TRUE(dialog.control(kAddonObjectEdit)->isEnabled());
    EXPECT_EQ(text(dialog, kAddonObjectEdit), ".\\addon\\o.x");
    EXPECT_TRUE(dialog.control(kImage2Edit)->isEnabled());
    EXPECT_EQ(text(dialog, kImage2Edit), "img2");
    EXPECT_EQ(text(dialog, kBriefingEdit), "");

    // Cancelling and a missing file change nothing; the missing file says so.
    const MissionInfo shown = dialog.missionInfo();
    press(dialog, kLoadButton);
    services.answers = {dir.filePath("gone.mif")};
    press(dialog, kLoadButton);
    EXPECT_EQ(dialog.missionInfo(), shown);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, "file open error");
    EXPECT_EQ(services.boxes[0].caption, "ERROR");
}

TEST_F(MissionDialogTest, LoadThenSaveReproducesTheFile) {
    const std::string files[] = {
        // As the editor writes them, with Japanese text and an unknown sky and flag bits.
        "m01\r\n\x8d\xbb\x94\x99\x82\xcc\x96\xe9\r\n.\\b.bd1\r\n.\\p.pd1\r\n2\r\n1\r\n!\r\n"
        "i.bmp\r\n!\r\n\x88\xea\x8d\x73\x96\xda\r\n\r\nend",
        "m\r\nf\r\nb\r\np\r\n7\r\n14\r\no.x\r\ni\r\nj\r\n",
    };
    for (const auto& bytes : files) {
        MissionDialog dialog(services, true);
        const QString in = writeFile("in.mif", bytes);
        const QString out = dir.filePath("out");
        services.answers = {in, out};
        press(dialog, kLoadButton);
        press(dialog, kSaveButton);
        EXPECT_TRUE(services.requests.back().save);
        EXPECT_EQ(services.requests.back().title, "SAVE");
        EXPECT_EQ(readFileBytes(out), bytes);
        EXPECT_TRUE(services.boxes.empty());
    }

    // The unknown sky has a row of its own, kept in both languages until another sky is chosen.
    MissionDialog dialog(services, true);
    services.answers = {dir.filePath("in.mif")};
    press(dialog, kLoadButton);
    EXPECT_EQ(skyList(dialog)->currentText(), "7");
    press(dialog, kLanguageButton);
    EXPECT_EQ(skyList(dialog)->currentText(), "7");
    EXPECT_EQ(dialog.missionInfo().skyIndex, 7);
    EXPECT_EQ(dialog.missionInfo().flags, 14);
    skyList(dialog)->setCurrentIndex(1);
    check(dialog, kDarkScreenCheck)->click();
    EXPECT_EQ(dialog.missionInfo().skyIndex, 1);
    EXPECT_EQ(dialog.missionInfo().flags, 12);
}

TEST_F(MissionDialogTest, SaveFailuresAreReportedAndWriteNothing) {
    MissionDialog dialog(services, false);
    const std::string old = "old\r\n";
    const QString longName = writeFile(QString(250, 'm').toUtf8().constData(), old);

    // The new file cannot take its place (the name leaves no room for the temporary file's).
    services.answers = {longName, dir.filePath("missing/m.mif")};
    press(dialog, kSaveButton);
    press(dialog, kSaveButton);
    ASSERT_EQ(services.boxes.size(), 2u);
    EXPECT_EQ(services.boxes[0].text, "file open error (writing)");
    EXPECT_EQ(services.boxes[1].text, "file open error");
    EXPECT_EQ(services.boxes[1].caption, "ERROR");
    EXPECT_EQ(readFileBytes(longName), old);

    // Text with no CP932 form is refused, naming its field, before a file is chosen.
    const auto requests = services.requests.size();
    edit(dialog, kFullNameEdit)->setText("rocket \U0001F680");
    press(dialog, kSaveButton);
    EXPECT_EQ(services.requests.size(), requests);
    ASSERT_EQ(services.boxes.size(), 3u);
    EXPECT_TRUE(services.boxes[2].text.contains("\"mission fullname\""))
        << services.boxes[2].text.toStdString();
    EXPECT_EQ(services.boxes[2].caption, "ERROR");
}

TEST_F(MissionDialogTest, EditsRefuseTextBeyondTheirLimitAndLineEnds) {
    MissionDialog dialog(services, true);
    QLineEdit* name = edit(dialog, kMissionNameEdit);
    name->insert(QString(30, 'n'));
    name->insert("テ"); // two bytes would make 32
    EXPECT_EQ(name->text(), QString(30, 'n'));
    name->insert("x");
    EXPECT_EQ(name->text(), QString(31, 'n').replace(30, 1, "x"));

    QLineEdit* path = edit(dialog, kBlockPathEdit);
    path->clear();
    path->insert("a\r\nb\nc");
    EXPECT_EQ(path->text(), "abc");

    auto* briefing = qobject_cast<QPlainTextEdit*>(dialog.control(kBriefingEdit));
    briefing->insertPlainText(QString(396, 'x') + "\n" + QString(399, 'y')); // 797 bytes
    briefing->insertPlainText("\n");                                         // CR LF would make 799
    EXPECT_EQ(briefing->toPlainText(), QString(396, 'x') + "\n" + QString(399, 'y'));
    briefing->insertPlainText("z");
    EXPECT_EQ(briefing->toPlainText().size(), 797);
    EXPECT_FALSE(writeMissionInfo(dialog.missionInfo()).problem);
}

TEST_F(MissionDialogTest, OnlyClosingTheWindowEndsTheProgram) {
    MissionDialog dialog(services, true);
    dialog.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &escape);
    EXPECT_TRUE(dialog.isVisible());

    QTimer::singleShot(0, &dialog, &QWidget::close);
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); }); // a hung loop fails
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(services.boxes.empty() && services.requests.empty()); // no saving on the way out
}

TEST(MissionStartLanguage, JapaneseOnlyWhenTheFirstSetVariableSaysJa) {
    EXPECT_TRUE(localeIsJapanese("ja_JP.UTF-8", nullptr, nullptr));
    EXPECT_TRUE(localeIsJapanese("", "ja_JP.UTF-8", "C"));
    EXPECT_TRUE(localeIsJapanese(nullptr, "", "ja"));
    EXPECT_FALSE(localeIsJapanese("C", "ja_JP.UTF-8", "ja_JP.UTF-8"));
    EXPECT_FALSE(localeIsJapanese(nullptr, nullptr, "en_US.UTF-8"));
    EXPECT_FALSE(localeIsJapanese(nullptr, nullptr, nullptr));
}

} // namespace
} // namespace tavo::mission
