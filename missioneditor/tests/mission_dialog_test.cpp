#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <optional>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>

#include "missioneditor/controls.h"
#include "missioneditor/cp932_limit.h"
#include "missioneditor/mission_dialog.h"
#include "missioneditor/mission_file.h"
#include "missioneditor/mission_paths.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/scratch_directory.h"

QT_BEGIN_NAMESPACE
// NOLINTNEXTLINE(readability-identifier-naming): the name GoogleTest looks for
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tavo::mission {
namespace {

// Plans the answers of the file dialogs that follow: "" cancels, as does running out.
void answerFiles(testing::FakeDesktop& services, const QStringList& paths) {
    services.dialogAnswers.clear();
    for (const QString& path : paths) {
        services.dialogAnswers.push_back(path.isEmpty() ? std::nullopt
                                                        : std::optional(path.toStdString()));
    }
}
// "text | caption" of every box with this icon, marked when it has no owner (error boxes have
// none, the questions about edits the dialog).
QStringList boxes(const testing::FakeDesktop& services, BoxIcon icon) {
    QStringList shown;
    for (const testing::RecordedBox& box : services.boxes) {
        if (box.icon == icon) {
            shown << QString::fromStdString(box.text + " | " + box.caption +
                                            (box.ownerless ? " (ownerless)" : ""));
        }
    }
    return shown;
}

template <class Widget = QAbstractButton> Widget* get(const MissionDialog& d, int id) {
    return qobject_cast<Widget*>(d.control(id));
}
QString text(const MissionDialog& d, int id) {
    const QVariant value = d.control(id)->property("text");
    return value.isValid() ? value.toString() : d.control(id)->property("plainText").toString();
}
// The sky list's rows, then every control's text.
QStringList allTexts(const MissionDialog& d) {
    QStringList texts;
    for (int i = 0; i < get<QComboBox>(d, SkyList)->count(); ++i) {
        texts << get<QComboBox>(d, SkyList)->itemText(i);
    }
    for (int id : ControlIds) {
        texts << text(d, id);
    }
    return texts;
}
// Whether the add-on object's box is checked and its edit enabled, then the same for image 2.
std::array<bool, 4> optionalPaths(const MissionDialog& d) {
    return {get(d, AddonObjectCheck)->isChecked(), d.control(AddonObjectEdit)->isEnabled(),
            get(d, Image2Check)->isChecked(), d.control(Image2Edit)->isEnabled()};
}
constexpr std::array<bool, 4> On{true, true, true, true}, Off{};
void press(MissionDialog& d, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&d, &event);
}
const QString Title = "TAVO MISSION INFORMATION FILE EDITOR";
// A short mission with every field; Plain with the full name "g".
const std::string Plain = "m\r\nf\r\nb\r\np\r\n1\r\n0\r\n!\r\ni\r\n!\r\n";
const std::string Edited = "m\r\ng\r\nb\r\np\r\n1\r\n0\r\n!\r\ni\r\n!\r\n";
QStringList describe(const testing::RecordedDialog& r) {
    return {QString::fromStdString(r.title), QString::fromStdString(r.filter.description),
            QString::fromStdString(r.filter.pattern), r.save ? "save" : "open"};
}

// allTexts of a new dialog: the skies, then the controls in the order of their ids (the edits,
// the check boxes, the buttons, the labels).
const QString JapaneseTexts =
    "なし（黒）|晴れ|曇り|夜|夕方|荒地|||.\\|.\\addon\\||追加判定|画面を暗く||小物を追加|"
    ".\\data\\briefing\\np.bmp||画像２枚||LOAD|SAVE|ENGLISH|ミッション識別名|ミッション正式名称|"
    "ブロックのパス名|ポイントのパス名|空|画像1のパス名|画像2のパス名|追加小物のパス名|"
    "ブリーフィング文章";
const QString EnglishTexts =
    "black|sunny|cloudy|night|early evening|waste land|||.\\|.\\addon\\||extra collision|"
    "dark screen||add-on obj|.\\data\\briefing\\np.bmp||two images||LOAD|SAVE|日本語|"
    "mission title|mission fullname|pathname of block|pathname of point|sky image|"
    "pathname of image1|pathname of image2|pathname of obj|briefing text";

class MissionDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "dialog", *argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) {
            new QApplication(argc, argv); // lives until the process ends, as in the program
        }
    }
    MissionDialogTest() { services.unplannedAnswer = BoxAnswer::Discard; }
    testing::FakeDesktop services;
    testing::ScratchDirectory scratch;
    QString at(const char* name) const { return QString::fromStdString(scratch.at(name)); }
    QString writeFile(const char* name, const std::string& bytes) const {
        return QString::fromStdString(scratch.write(name, bytes));
    }
};

// The Save button of a box that Qt labels itself.
QString qtSaveText() {
    QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Save);
    return box.button(QMessageBox::Save)->text();
}

// Qt's own buttons follow the dialog's language as well.
TEST_F(MissionDialogTest, StartsInTheLocalesLanguageAndSwitchingTwiceRestoresEveryText) {
    MissionDialog japanese(services, true);
    EXPECT_EQ(qtSaveText(), "保存") << "started in Japanese";
    MissionDialog english(services, false);
    for (const MissionDialog* d : {&japanese, &english}) {
        SCOPED_TRACE(d == &japanese);
        EXPECT_EQ(d->windowTitle(), Title);
        EXPECT_EQ(d->size(), QSize(748, 360));
        EXPECT_EQ(d->pos(), QPoint(20, 20)); // (10, 10) in dialog units
        EXPECT_EQ(allTexts(*d).join("|"), d == &japanese ? JapaneseTexts : EnglishTexts);
        EXPECT_EQ(optionalPaths(*d), Off);
        // Sky 0, no flags, both optional paths off, and the default paths.
        EXPECT_EQ(d->missionInfo(), (MissionInfo{"", "", ".\\", ".\\addon\\", 0, 0, false, "",
                                                 ".\\data\\briefing\\np.bmp", false, "", ""}));
        get<QComboBox>(*d, SkyList)->setCurrentIndex(4);
    }
    const QStringList before = allTexts(japanese);
    get(japanese, LanguageButton)->click();
    EXPECT_TRUE(japanese.english());
    EXPECT_EQ(allTexts(japanese), allTexts(english));
    EXPECT_EQ(qtSaveText(), "Save") << "after ENGLISH";
    get(japanese, LanguageButton)->click();
    EXPECT_EQ(allTexts(japanese), before);
    EXPECT_EQ(qtSaveText(), "保存") << "after 日本語";
    EXPECT_EQ(get<QComboBox>(japanese, SkyList)->currentIndex(), 4);
}

// Whether the widget's font draws the byte 0x5C with a bar across, as the yen sign has, rather
// than as the one thin stroke of a backslash: the most dark pixels in one row of it.
bool drawsYen(const QWidget& widget) {
    QImage image(32, 32, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(widget.font());
    painter.drawText(4, 24, QStringLiteral("\\"));
    painter.end();
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        if (std::count_if(row, row + image.width(), [](uchar gray) { return gray < 128; }) >= 5) {
            return true;
        }
    }
    return false;
}

TEST_F(MissionDialogTest, PathsShowTheSeparatorAsAYenSignInJapaneseAndABackslashInEnglish) {
    MissionDialog d(services, true);
    const int paths[] = {BlockPathEdit, PointPathEdit, Image1Edit, Image2Edit, AddonObjectEdit};
    for (const bool japanese : {true, false, true}) { // each after the switch before it
        for (int id : paths) {
            const QWidget& edit = *d.control(id);
            EXPECT_EQ(drawsYen(edit), japanese)
                << "path field " << id << " in " << edit.font().family().toStdString();
        }
        EXPECT_EQ(drawsYen(*d.control(MissionNameEdit)), true) << "the window font elsewhere";
        get(d, LanguageButton)->click();
    }
}

TEST_F(MissionDialogTest, LoadShowsTheFileAndSwitchesTheOptionalPaths) {
    MissionDialog d(services, false);
    const std::string head = "m\r\nfull\r\nb\r\np\r\n";
    // "!old" is none as well: only a line's first character counts. Skies the list does not know
    // get a row of their own, which the next load drops.
    answerFiles(services,
                {writeFile("both.mif", head + "7\r\n3\r\n.\\addon\\o.x\r\nimg\r\nimg2\r\n"),
                 writeFile("none.mif", head + "-1\r\n3\r\n!\r\nimg\r\n!old\r\nline 1\r\nline 2"),
                 at("gone.mif"), "", writeFile("empty.mif", "")});
    get(d, LoadButton)->click();
    ASSERT_EQ(services.dialogs.size(), 1u);
    EXPECT_EQ(describe(services.dialogs[0]),
              (QStringList{"LOAD", "mission information file (mif)", "*.mif", "open"}));
    EXPECT_EQ(optionalPaths(d), On);
    EXPECT_EQ(d.missionInfo(), (MissionInfo{"m", "full", "b", "p", 7, 3, true, ".\\addon\\o.x",
                                            "img", true, "img2", ""}));

    get(d, LoadButton)->click();
    EXPECT_EQ(d.missionInfo(), (MissionInfo{"m", "full", "b", "p", -1, 3, false, "", "img", false,
                                            "", "line 1\nline 2"}));
    EXPECT_EQ(optionalPaths(d), Off);
    get(d, AddonObjectCheck)->click();
    get(d, Image2Check)->click();
    EXPECT_EQ(optionalPaths(d), On);

    // A missing file says so and changes nothing; cancelling changes nothing either.
    const MissionInfo shown = d.missionInfo();
    get(d, LoadButton)->click();
    get(d, LoadButton)->click();
    EXPECT_EQ(d.missionInfo(), shown);
    EXPECT_EQ(boxes(services, BoxIcon::Error), QStringList{"file open error | ERROR (ownerless)"});
    get(d, LoadButton)->click(); // an empty file is an empty mission, kept flag bits and all
    EXPECT_EQ(d.missionInfo(), MissionInfo{});
}

TEST_F(MissionDialogTest, LoadThenSaveReproducesTheFile) {
    const std::string files[] = {
        readFileBytes(TAVO_SOURCE_DIR "/samples/sample.mif").value(), // Japanese, as written
        "m\r\nf\r\nb\r\np\r\n7\r\n14\r\no.x\r\ni\r\nj\r\n", // an unknown sky and flag bits
        "m\r\nf\r\nb\r\np\r\n-1\r\n-1\r\n!\r\ni\r\n!\r\nbriefing",
        "m\r\nf\r\nb\r\np\r\n2147483647\r\n1024\r\n!\r\ni\r\n!\r\n",
    };
    for (const std::string& bytes : files) {
        MissionDialog d(services, true);
        // SAVE adds no extension to the name given.
        answerFiles(services, {writeFile("in.mif", bytes), at("out")});
        get(d, LoadButton)->click();
        get(d, LanguageButton)->click(); // an unknown sky's row outlives the switch
        get(d, SaveButton)->click();
        EXPECT_EQ(describe(services.dialogs.back()),
                  (QStringList{"SAVE", "mission information file (mif)", "*.mif", "save"}));
        EXPECT_EQ(readFileBytes(scratch.at("out")).value(), bytes);
    }
    EXPECT_EQ(boxes(services, BoxIcon::Error), QStringList());
}

// An over-long name and briefing, a byte that is not CP932 and CRs inside paths: the load
// tells each, field by field, and counts as unsaved. The file is exactly as long as a mission file
// may be; one byte more is refused as too large, in the dialog's language. Saving writes what is
// shown: the cut fields cut, the edited one encoded anew, and the others with the very bytes they
// were loaded with.
TEST_F(MissionDialogTest, LoadTellsWhatItCutOrReplacedAndSavingKeepsWhatWasNotEdited) {
    const std::string head =
        std::string(40, 'n') + "\r\nf\x80\r\nb\rc\r\r\np\r\r\n1\r\n0\r\n!\r\ni\r\n!\r\n";
    const std::string file = head + std::string((1 << 20) - head.size(), 'x');
    const QString over = writeFile("over.mif", file), large = writeFile("large.mif", file + "x");
    const QString briefing = QString::number((1 << 20) - head.size());
    const std::tuple<bool, QString, QString> languages[] = {
        {false, "file too large (a mission file holds at most 1048576 bytes)",
         "Loading changed what these fields show:\n"
         "mission title: cut to its first 31 bytes (the file has 40; the field holds 31)\n"
         "mission fullname: 1 byte that is not Shift-JIS shown as \uFFFD, kept as in the "
         "file unless the field is edited\n"
         "pathname of block: 2 carriage returns (CR) removed\n"
         "pathname of point: 1 carriage return (CR) removed\n"
         "briefing text: cut to its first 798 bytes (the file has " +
             briefing + "; the field holds 798)"},
        {true, "ファイルが大きすぎます（ミッションファイルは最大 1048576 バイトです）",
         "読み込みで次の欄の内容が変わりました:\n"
         "ミッション識別名: 先頭の 31 バイトに切り詰めました（ファイルでは 40 バイト、欄は最大 "
         "31 バイト）\n"
         "ミッション正式名称: Shift-JIS でない 1 バイトを \uFFFD で表示しています。欄を編集"
         "しなければ元のまま保存します\n"
         "ブロックのパス名: 復帰文字 (CR) を 2 個削除しました\n"
         "ポイントのパス名: 復帰文字 (CR) を 1 個削除しました\n"
         "ブリーフィング文章: 先頭の 798 バイトに切り詰めました（ファイルでは " +
             briefing + " バイト、欄は最大 798 バイト）"},
    };
    for (const auto& [japanese, tooLarge, changes] : languages) {
        SCOPED_TRACE(japanese);
        MissionDialog d(services, japanese);
        answerFiles(services, {large, over});
        get(d, LoadButton)->click();
        get(d, LoadButton)->click();
        EXPECT_EQ(d.openFile(large.toStdString()), false) << "opening the large file";
        EXPECT_EQ(boxes(services, BoxIcon::Error),
                  QStringList(2, tooLarge + " | ERROR (ownerless)"));
        EXPECT_EQ(boxes(services, BoxIcon::Warning), QStringList{changes + " | LOAD"});
        EXPECT_EQ(d.windowTitle(), Title + " - over.mif *");
        services.boxes.clear();
    }
    MissionDialog d(services, false);
    answerFiles(services, {over, at("copy.mif")});
    get(d, LoadButton)->click();
    get<QLineEdit>(d, PointPathEdit)->setText("テ");
    press(d, Qt::Key_S);
    const std::string saved = std::string(31, 'n') +
                              "\r\nf\x80\r\nbc\r\n\x83\x65\r\n1\r\n0\r\n!\r\n"
                              "i\r\n!\r\n" +
                              std::string(798, 'x');
    EXPECT_EQ(readFileBytes(over.toStdString()).value(), saved);
    EXPECT_EQ(d.windowTitle(), Title + " - over.mif");
    // SAVE to another name takes the kept bytes as well: the field not CP932 is not refused.
    get(d, SaveButton)->click();
    EXPECT_EQ(readFileBytes(scratch.at("copy.mif")).value(), saved);
    EXPECT_EQ(boxes(services, BoxIcon::Error), QStringList());
}

// A name that is not UTF-8, given as bytes at start or by the LOAD dialog, is the file opened
// and saved; the twin whose name is its U+FFFD form stays as it was. The title and the question
// show the byte escaped.
TEST_F(MissionDialogTest, ANameThatIsNotUtf8IsTheFileOpenedAndSaved) {
    const std::string raw = scratch.write("m\xFF.mif", std::string("raw\r\n"));
    const std::string twin = scratch.write("m\xEF\xBF\xBD.mif", std::string("twin\r\n"));
    MissionDialog d(services, false);
    ASSERT_TRUE(d.openFile(raw));
    EXPECT_EQ(get<QLineEdit>(d, MissionNameEdit)->text(), "raw");
    EXPECT_EQ(d.windowTitle(), Title + " - m\\xff.mif");
    get<QLineEdit>(d, FullNameEdit)->setText("g");
    press(d, Qt::Key_S);
    EXPECT_EQ(readFileBytes(raw).value().substr(0, 8), "raw\r\ng\r\n");
    EXPECT_EQ(readFileBytes(twin).value(), "twin\r\n");

    services.dialogAnswers = {raw};
    get<QLineEdit>(d, FullNameEdit)->setText("h");
    services.boxAnswers = {BoxAnswer::Discard};
    get(d, LoadButton)->click();
    EXPECT_EQ(boxes(services, BoxIcon::Question).last(),
              "Save the changes to m\\xff.mif? | " + Title);
    EXPECT_EQ(get<QLineEdit>(d, FullNameEdit)->text(), "g");
    EXPECT_EQ(d.currentPath(), raw);
    // With no file yet, the question names the new mission.
    for (const bool japanese : {false, true}) {
        MissionDialog fresh(services, japanese);
        get<QLineEdit>(fresh, FullNameEdit)->setText("g");
        services.boxAnswers = {BoxAnswer::Cancel};
        EXPECT_EQ(fresh.close(), false);
        EXPECT_EQ(boxes(services, BoxIcon::Question).last(),
                  QString(japanese ? "新しいミッション への変更を保存しますか？"
                                   : "Save the changes to the new mission?") +
                      " | " + Title);
    }
}

TEST_F(MissionDialogTest, EditsRefuseTextBeyondTheirLimitAndSaveTextTheFileCannotHold) {
    MissionDialog d(services, true);
    auto* name = get<QLineEdit>(d, MissionNameEdit);
    for (const QString& typed : {QString(30, 'n'), QString("テ"), QString("x")}) { // テ: 32 bytes
        name->insert(typed);
    }
    EXPECT_EQ(name->text(), QString(30, 'n') + "x");
    auto* briefing = get<QPlainTextEdit>(d, BriefingEdit);
    const QString lines = QString(396, 'x') + "\n" + QString(399, 'y'); // 797 bytes with CR LF
    for (const QString& typed : {lines, QString("\n"), QString("z")}) { // "\n" would make 799
        briefing->insertPlainText(typed);
    }
    EXPECT_EQ(briefing->toPlainText(), lines + "z");
    briefing->moveCursor(QTextCursor::Start);
    briefing->insertPlainText("ab"); // refused where it began: the cursor stays there
    EXPECT_EQ(briefing->textCursor().position(), 0);
    EXPECT_TRUE(writeMissionInfo(d.missionInfo()).ok());
    // A character with no CP932 form counts as two bytes while typing (SAVE refuses it later).
    name->clear();
    for (const QString& typed : {QString(29, 'n'), QString("\U0001F680"), QString("x")}) {
        name->insert(typed);
    }
    EXPECT_EQ(name->text(), QString(29, 'n') + "\U0001F680");
    QString broken = "ab\rc"; // a loaded line break at the cursor goes; the cursor stays
    int cursor = 2;
    OneLineLimit(31, nullptr).validate(broken, cursor);
    EXPECT_EQ(std::pair(broken, cursor), std::pair(QString("abc"), 2));
    // Failing storage is tried in the storage tests; text the file cannot hold is refused,
    // naming its field as the dialog shows it, before a file is chosen. Each edit then empties.
    const std::pair<int, QString> refused[] = {
        {MissionNameEdit, "\"ミッション識別名\" holds a character that a mission file cannot store "
                          "(it has no Shift-JIS form)."},
        {BlockPathEdit, "\"ブロックのパス名\" is longer than 127 bytes in Shift-JIS."},
        {AddonObjectEdit, "\"追加小物のパス名\" cannot begin with \"!\": the game would read "
                          "it as no file."}};
    get<QLineEdit>(d, BlockPathEdit)->setText(QString(128, 'b'));
    get(d, AddonObjectCheck)->click();
    get<QLineEdit>(d, AddonObjectEdit)->setText("!o.x");
    for (const auto& [id, problem] : refused) {
        get(d, SaveButton)->click();
        EXPECT_EQ(boxes(services, BoxIcon::Error).last(),
                  problem + " Nothing was written. | ERROR (ownerless)");
        get<QLineEdit>(d, id)->clear();
    }
    EXPECT_EQ(services.dialogs.size(), 0u);
    // Text put in by a load is kept whole, even beyond the limit that typing keeps to.
    QPlainTextEdit loaded;
    MultiLineLimit limit(&loaded, 3);
    limit.setText("four");
    EXPECT_EQ(loaded.toPlainText(), QString("four"));
    loaded.insertPlainText("x"); // typing after the load is limited again
    EXPECT_EQ(loaded.toPlainText(), QString("four"));
}

// Tab and Shift+Tab still move between the fields, but the field reached keeps its text
// unselected, with the cursor at its end, so that typing adds to it.
TEST_F(MissionDialogTest, TabMovesOnWithoutSelectingTheFieldReached) {
    MissionDialog d(services, false);
    d.show();
    QApplication::setActiveWindow(&d);
    get<QLineEdit>(d, BlockPathEdit)->setFocus();
    const std::tuple<const char*, Qt::KeyboardModifiers, int> keys[] = {
        {"Tab", Qt::NoModifier, PointPathEdit}, {"Shift+Tab", Qt::ShiftModifier, BlockPathEdit}};
    for (const auto& [name, modifiers, reached] : keys) {
        SCOPED_TRACE(name);
        QKeyEvent tab(QEvent::KeyPress, modifiers ? Qt::Key_Backtab : Qt::Key_Tab, modifiers);
        QApplication::sendEvent(QApplication::focusWidget(), &tab);
        auto* edit = get<QLineEdit>(d, reached);
        ASSERT_EQ(QApplication::focusWidget(), edit);
        EXPECT_EQ(edit->selectedText(), "");
        EXPECT_EQ(edit->cursorPosition(), edit->text().size());
    }
}

TEST_F(MissionDialogTest, EditedFieldsAreAskedAboutBeforeCloseOrLoadAndTheTitleTellsOfThem) {
    MissionDialog d(services, false);
    d.show();
    const QString file = writeFile("m.mif", Plain);
    answerFiles(services, {file});
    get(d, LoadButton)->click();
    EXPECT_EQ(d.windowTitle(), Title + " - m.mif");
    get<QComboBox>(d, SkyList)->setCurrentIndex(3);
    EXPECT_EQ(d.windowTitle(), Title + " - m.mif *") << "another sky";
    get<QComboBox>(d, SkyList)->setCurrentIndex(1);
    get<QLineEdit>(d, FullNameEdit)->setText("g");
    EXPECT_EQ(d.windowTitle(), Title + " - m.mif *");
    // Cancel keeps the window and the fields; a failing save cancels as well.
    services.boxAnswers = {BoxAnswer::Cancel, BoxAnswer::Cancel};
    EXPECT_EQ(d.close(), false);
    get(d, LoadButton)->click();
    EXPECT_EQ(services.dialogs.size(), 1u) << "no LOAD dialog after Cancel";
    EXPECT_EQ(text(d, FullNameEdit), "g");
    EXPECT_EQ(boxes(services, BoxIcon::Question).first(), "Save the changes to m.mif? | " + Title);
    get<QLineEdit>(d, MissionNameEdit)->setText("\U0001F680"); // Ctrl+S refuses it, with its box
    press(d, Qt::Key_S);
    EXPECT_EQ(boxes(services, BoxIcon::Error).size(), 1);
    EXPECT_EQ(readFileBytes(file.toStdString()).value(), Plain);
    get<QLineEdit>(d, MissionNameEdit)->setText("m");
    press(d, Qt::Key_S);
    EXPECT_EQ(readFileBytes(file.toStdString()).value(), Edited);
    EXPECT_EQ(d.windowTitle(), Title + " - m.mif");
    press(d, Qt::Key_O); // nothing unsaved: the LOAD dialog at once
    EXPECT_EQ(services.dialogs.size(), 2u);
    get<QLineEdit>(d, FullNameEdit)->setText("h");
    QFile::remove(file);
    QDir().mkdir(file); // the current file can no longer be written
    services.boxAnswers = {BoxAnswer::Save};
    EXPECT_EQ(d.close(), false);
    services.boxAnswers = {BoxAnswer::Discard};
    EXPECT_EQ(d.close(), true);
}

// Ctrl+S over the file last loaded, after another program changed it: a question whose default is
// No, and No writes nothing and keeps the fields unsaved; a file only touched or gone is simply
// written, and so is another file chosen in SAVE's dialog.
TEST_F(MissionDialogTest, CtrlSOverAFileChangedOnDiskAsksFirstAndNoKeepsTheirFile) {
    namespace fs = std::filesystem;
    const std::string theirs = "written by another program";
    enum Meanwhile { Changed, Touched, Gone };
    // What happens to the file, the language, the answer (nothing: the box's default) and the
    // question asked (none when empty).
    const std::tuple<Meanwhile, bool, std::optional<BoxAnswer>, QString> rows[] = {
        {Changed, false, std::nullopt,
         "m.mif was changed on disk since it was loaded. Overwrite it?"},
        {Changed, true, BoxAnswer::Yes,
         "m.mif は読み込んだ後にディスク上で変更されました。上書きしますか？"},
        {Touched, false, BoxAnswer::No, ""},
        {Gone, false, BoxAnswer::No, ""},
    };
    for (const auto& [meanwhile, japanese, answer, question] : rows) {
        SCOPED_TRACE(meanwhile);
        services.boxes.clear();
        services.unplannedAnswer.reset();
        MissionDialog d(services, japanese);
        const std::string file = scratch.write("m.mif", Plain);
        // Back-dated, so that a touch within the same clock tick still shows another time.
        fs::last_write_time(file, fs::last_write_time(file) - std::chrono::hours(1));
        ASSERT_TRUE(d.openFile(file));
        get<QLineEdit>(d, FullNameEdit)->setText("g");
        if (meanwhile == Changed) {
            std::ofstream(file) << theirs;
        } else {
            meanwhile == Touched ? fs::last_write_time(file, fs::file_time_type::clock::now())
                                 : void(fs::remove(file));
        }
        services.boxAnswers.assign(answer.has_value(), answer.value_or(BoxAnswer::No));
        press(d, Qt::Key_S);
        EXPECT_EQ(boxes(services, BoxIcon::Warning),
                  question.isEmpty() ? QStringList() : QStringList{question + " | " + Title});
        for (const testing::RecordedBox& box : services.boxes) {
            EXPECT_EQ(box.buttons, BoxButtons::YesNoDefaultNo);
        }
        const bool saved = question.isEmpty() || answer == BoxAnswer::Yes;
        EXPECT_EQ(readFileBytes(file).value(), saved ? Edited : theirs);
        EXPECT_EQ(d.edited(), !saved);
    }
    // SAVE to another file asks only the dialog's own question, whatever became of this one.
    MissionDialog d(services, false);
    services.boxes.clear();
    answerFiles(services, {writeFile("m.mif", Plain), at("other.mif")});
    get(d, LoadButton)->click();
    std::ofstream(scratch.at("m.mif")) << theirs;
    get(d, SaveButton)->click();
    EXPECT_EQ(services.boxes.size(), 0u);
    EXPECT_EQ(readFileBytes(scratch.at("other.mif")).value(), Plain);
}

// A game folder in the scratch directory: a map and points under data/, a briefing image beside
// them, and a mission one folder down whose paths lead to them.
class MissionCheckKeys : public MissionDialogTest {
protected:
    MissionCheckKeys() {
        // A map of one block, its header's ten names empty.
        std::string map(310, '\0');
        map += std::string("\x01\x00", 2) + std::string(312, '\0') + std::string("\x01\0\0\0", 4);
        scratch.write("game/data/m.bd1", map);
        scratch.write("game/data/m.pd1", std::string("\0\0", 2));
        scratch.write("game/data/Brief.bmp", std::string("not an image"));
        mission = writeFile("game/missions/m.mif",
                            "m\r\nf\r\n.\\data\\m.bd1\r\n.\\DATA\\m.pd1\r\n1\r\n0\r\n!\r\n"
                            ".\\data\\brief.bmp\r\n!\r\n");
    }
    QString game() const { return at("game"); }
    QString mission;
};

// F5 checks the fields as they stand, saved or not, and tells in the dialog's language; a
// mission never saved is looked for from the working folder.
TEST_F(MissionCheckKeys, F5ChecksTheFieldsAsTheyStandSavedOrNot) {
    const QString root = game(), before = QDir::currentPath();
    MissionDialog d(services, false);
    answerFiles(services, {mission});
    get(d, LoadButton)->click();
    get(d, Image2Check)->click(); // not saved
    get<QLineEdit>(d, Image2Edit)->setText(".\\data\\gone.bmp");
    press(d, Qt::Key_F5, Qt::NoModifier);
    QDir::setCurrent(at("game/data"));
    MissionDialog fresh(services, true);
    get<QLineEdit>(fresh, BlockPathEdit)->setText(".\\data\\m.bd1");
    get<QLineEdit>(fresh, PointPathEdit)->setText(".\\data\\m.pd1");
    get<QLineEdit>(fresh, Image1Edit)->setText(".\\data\\Brief.bmp");
    press(fresh, Qt::Key_F5, Qt::NoModifier);
    QDir::setCurrent(before);
    const QString english =
        "2 errors, 2 warnings\nroot: %1 (the nearest folder from the mission's upwards that holds "
        "its map)\nwarning: pathname of point: .\\DATA\\m.pd1 is found only when case is ignored, "
        "as %1/data/m.pd1; the path should be typed as the file is named\nwarning: pathname of "
        "image1: .\\data\\brief.bmp is found only when case is ignored, as %1/data/Brief.bmp; the "
        "path should be typed as the file is named\nerror: pathname of image1: is in a format the "
        "image reader does not know\nerror: pathname of image2: .\\data\\gone.bmp leads to no file "
        "under %1 | MISSION CHECK";
    const QString japanese =
        "エラー 1 件、警告 0 件\nルート: %1（ミッションのフォルダーから上へ、マップのある最も近い"
        "フォルダー）\nエラー: 画像1のパス名: 画像読み込みが知らない形式です | ミッションの点検";
    EXPECT_EQ(boxes(services, BoxIcon::Warning),
              (QStringList{english.arg(root), japanese.arg(root)}));
}

TEST_F(MissionCheckKeys, F6AndCtrlEStartThePointEditorOnTheMissionsFilesOrSayWhatIsMissing) {
    std::vector<QStringList> started;
    bool starts = true;
    const auto record = [&](const QString& program, const QStringList& arguments) {
        started.push_back(QStringList{QFileInfo(program).fileName()} + arguments);
        return starts;
    };
    MissionDialog d(services, false);
    d.setLauncher(record);
    answerFiles(services, {mission});
    get(d, LoadButton)->click();
    press(d, Qt::Key_F6, Qt::NoModifier);
    d.switchLanguage();
    press(d, Qt::Key_E);
    const QStringList files{at("game/data/m.bd1"), at("game/data/m.pd1")};
    EXPECT_EQ(started, (std::vector{QStringList{"pointeditor", "e"} + files,
                                    QStringList{"pointeditor", "j"} + files}));
    EXPECT_EQ(services.boxes.size(), 0u);

    get<QLineEdit>(d, PointPathEdit)->setText(".\\data\\none.pd1");
    press(d, Qt::Key_F6, Qt::NoModifier);
    EXPECT_EQ(started.size(), 2u) << "nothing started";
    EXPECT_EQ(boxes(services, BoxIcon::Warning),
              QStringList{"ポイントのパス名: .\\data\\none.pd1 のファイルが " + game() +
                          " にありません | POINT EDITOR"});

    get<QLineEdit>(d, PointPathEdit)->setText(".\\data\\m.pd1");
    starts = false;
    press(d, Qt::Key_F6, Qt::NoModifier);
    ASSERT_EQ(services.boxes.size(), 2u);
    EXPECT_EQ(services.boxes[1].text.ends_with("pointeditor を起動できません"), true)
        << services.boxes[1].text;
}

} // namespace
} // namespace tavo::mission
