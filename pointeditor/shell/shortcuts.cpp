#include "pointeditor/shell/shortcuts.h"

#include <string>

namespace tavo {
namespace {

struct Combination {
    int key;
    bool shift;
    Shortcut shortcut;
};
constexpr Combination CtrlCombinations[] = {
    {Qt::Key_Z, false, Shortcut::Undo},      {Qt::Key_Y, false, Shortcut::Redo},
    {Qt::Key_Z, true, Shortcut::Redo},       {Qt::Key_S, false, Shortcut::Save},
    {Qt::Key_S, true, Shortcut::SaveAs},     {Qt::Key_O, false, Shortcut::LoadPoint},
    {Qt::Key_O, true, Shortcut::LoadBlock},  {Qt::Key_C, false, Shortcut::Copy},
    {Qt::Key_X, false, Shortcut::Cut},       {Qt::Key_V, false, Shortcut::Paste},
    {Qt::Key_D, false, Shortcut::Duplicate},
};

// The help, one row per input, each in both languages; a row without an action heads a section.
struct HelpRow {
    const char* input;
    const char* action;
    const char* inputJapanese;
    const char* actionJapanese;
};
constexpr HelpRow HelpRows[] = {
    {"MOUSE", nullptr, "マウス", nullptr},
    {"Click a ◆ menu entry", "choose its command", "◆ メニュー項目をクリック", "コマンドを選ぶ"},
    {"Click a toggle below the menu", "switch grid lock, headings or a 2D pane",
     "メニューの下の切り替えをクリック", "グリッド、向き、各 2D ペインを入り切り"},
    {"NEW POINT: click in a pane", "place a point with the current parameters",
     "NEW POINT: ペインをクリック", "現在のパラメータでポイントを置く"},
    {"NEW POINT: Shift+click in the 3D pane", "place a point on the surface under the pointer",
     "NEW POINT: 3D ペインで Shift+クリック", "ポインタの下の面にポイントを置く"},
    {"SELECT: two clicks in one 2D pane", "select the points in the box (Shift: add them)",
     "SELECT: 2D ペインで二回クリック", "囲んだポイントを選択（Shift で追加）"},
    {"SELECT: right click with a box begun", "keep only the selected points inside it",
     "SELECT: 囲み始めてから右クリック", "囲みの中の選択ポイントだけを残す"},
    {"SELECT: right click elsewhere", "switch to MOVE POINT", "SELECT: それ以外で右クリック",
     "MOVE POINT に切り替え"},
    {"MOVE POINT: drag in a 2D pane", "move the selected points", "MOVE POINT: 2D ペインでドラッグ",
     "選択ポイントを動かす"},
    {"MOVE POINT: right click", "back to SELECT", "MOVE POINT: 右クリック", "SELECT に戻る"},
    {"DELETE, LOAD BLOCK, SAVE POINT, LOAD POINT", "act at once",
     "DELETE, LOAD BLOCK, SAVE POINT, LOAD POINT", "すぐに実行"},
    {"VIEW: left drag", "pan a 2D pane, turn the 3D camera", "VIEW: 左ドラッグ",
     "2D ペインを動かす、3D カメラを回す"},
    {"VIEW: right drag", "zoom the 2D panes, fly the camera", "VIEW: 右ドラッグ",
     "2D ペインを拡大縮小、カメラを進める"},
    {"VIEW: both buttons in the 3D pane", "raise and slide the camera", "VIEW: 3D ペインで両ボタン",
     "カメラを上下左右に動かす"},
    {"Ctrl+click a point", "select it alone (elsewhere: select nothing)",
     "ポイントを Ctrl+クリック", "そのポイントだけを選択（他の所では選択を解除）"},
    {"Ctrl+Shift+click a point", "add it to the selection or take it out",
     "ポイントを Ctrl+Shift+クリック", "選択に加える、または選択から外す"},
    {"Wheel over a 2D pane", "zoom about the pointer", "2D ペインでホイール",
     "ポインタの所を中心に拡大縮小"},
    {"Wheel over the 3D pane", "fly the camera ahead or back", "3D ペインでホイール",
     "カメラを前後に進める"},
    {"KEYS", nullptr, "キー", nullptr},
    {"A / Z", "kind + / -", "A / Z", "種類 + / -"},
    {"S / X", "parameter 2 + / -", "S / X", "パラメータ 2 + / -"},
    {"D / C", "parameter 3 + / -", "D / C", "パラメータ 3 + / -"},
    {"F / V", "id number + / -", "F / V", "識別番号 + / -"},
    {"Right / Left", "turn the selected points", "→ / ←", "選択ポイントの向きを回す"},
    {"F11", "take the parameters of the selection", "F11", "選択ポイントのパラメータを取る"},
    {"F12", "give them to the selection", "F12", "選択ポイントにパラメータを与える"},
    {"Enter", "show the selected points' parameters", "Enter", "選択ポイントのパラメータを表示"},
    {"F2", "point count", "F2", "ポイント数"},
    {"F3", "switch between two zooms", "F3", "二つの倍率を切り替え"},
    {"F5", "check the links (selects the points involved)", "F5",
     "リンク確認（問題のポイントを選択）"},
    {"F6", "the point inspector: every point as a row, edited in place", "F6",
     "ポイント一覧: 全ポイントを表で表示・編集"},
    {"F8", "human count", "F8", "配置人数"},
    {"F9", "is the id number used?", "F9", "識別番号確認"},
    {"Keypad 4 6 8 5", "pan the 2D pane under the mouse", "テンキー 4 6 8 5",
     "マウスの下の 2D ペインを動かす"},
    {"Keypad + / -", "zoom", "テンキー + / -", "拡大縮小"},
    {"Keypad 0", "select the point nearest the mouse", "テンキー 0",
     "マウスに最も近いポイントを選択"},
    {"1 to 7", "place a path of points", "1 ～ 7", "経路ポイントを置く"},
    {"0", "place four points", "0", "四つのポイントを置く"},
    {"Insert", "add a path point", "Insert", "経路ポイントを挿入"},
    {"Delete", "delete the selected points (after a question)", "Delete",
     "選択ポイントを削除（確認あり）"},
    {"Home", "frame the selection (every point when none is selected)", "Home",
     "選択ポイントを映す（選択が無ければ全ポイント）"},
    {"End", "drop the selected points to the floor", "End", "選択ポイントを床に下ろす"},
    {"Escape", "drop a begun box, else select nothing", "Esc",
     "囲みを取り消す、囲みが無ければ選択を解除"},
    {"SHORTCUTS", nullptr, "ショートカット", nullptr},
    {"Ctrl+A", "select every point", "Ctrl+A", "全ポイントを選択"},
    {"Ctrl+F", "find the points with an id number", "Ctrl+F", "識別番号でポイントを検索"},
    {"Ctrl+C", "copy the selected points", "Ctrl+C", "選択ポイントをコピー"},
    {"Ctrl+X", "cut the selected points", "Ctrl+X", "選択ポイントを切り取り"},
    {"Ctrl+V", "paste into the pane under the pointer", "Ctrl+V", "ポインタの下のペインに貼り付け"},
    {"Ctrl+D", "duplicate the selected points one grid step away", "Ctrl+D",
     "選択ポイントを 1 グリッド離して複製"},
    {"Ctrl+Z", "undo", "Ctrl+Z", "元に戻す"},
    {"Ctrl+Y, Ctrl+Shift+Z", "redo", "Ctrl+Y, Ctrl+Shift+Z", "やり直す"},
    {"Ctrl+S", "save", "Ctrl+S", "保存"},
    {"Ctrl+Shift+S", "save as", "Ctrl+Shift+S", "名前を付けて保存"},
    {"Ctrl+O", "load points", "Ctrl+O", "ポイントを開く"},
    {"Ctrl+Shift+O", "load a map", "Ctrl+Shift+O", "マップを開く"},
    {"F1", "this help", "F1", "このヘルプ"},
    {"FILES", nullptr, "ファイル", nullptr},
    {"A map, texture or points file changed elsewhere",
     "loaded again (unsaved points: asked first)", "他のプログラムが変更したファイル",
     "読み込み直す（未保存のポイントがあれば確認）"},
};

} // namespace

Shortcut shortcutFor(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers.testFlag(Qt::AltModifier) || modifiers.testFlag(Qt::MetaModifier)) {
        return Shortcut::None;
    }
    if (!modifiers.testFlag(Qt::ControlModifier)) {
        switch (qtKey) {
        case Qt::Key_F1:
            return Shortcut::Help;
        case Qt::Key_F6:
            return Shortcut::Inspector;
        default:
            return Shortcut::None;
        }
    }
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    for (const Combination& combination : CtrlCombinations) {
        if (combination.key == qtKey && combination.shift == shift) {
            return combination.shortcut;
        }
    }
    return Shortcut::None;
}

std::string helpText(bool english) {
    // A table keeps the two columns aligned in any font; no phrase is broken across lines.
    std::string html = "<table cellspacing=\"0\" cellpadding=\"2\">";
    for (const HelpRow& row : HelpRows) {
        const char* input = english ? row.input : row.inputJapanese;
        const char* action = english ? row.action : row.actionJapanese;
        if (action == nullptr) {
            html += std::string("<tr><td colspan=\"2\" style=\"padding-top:8px\"><b>") + input +
                    "</b></td></tr>";
        } else {
            html += std::string("<tr><td style=\"white-space:nowrap; padding-right:24px\">") +
                    input + "</td><td style=\"white-space:nowrap\">" + action + "</td></tr>";
        }
    }
    return html + "</table>";
}

const char* helpCaption(bool english) {
    return english ? "HELP" : "ヘルプ";
}

} // namespace tavo
