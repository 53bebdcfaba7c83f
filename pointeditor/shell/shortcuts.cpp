#include "pointeditor/shell/shortcuts.h"

namespace tavo {
namespace {

struct Combination {
    int key;
    bool shift;
    Shortcut shortcut;
};
constexpr Combination CtrlCombinations[] = {
    {Qt::Key_Z, false, Shortcut::Undo},     {Qt::Key_Y, false, Shortcut::Redo},
    {Qt::Key_Z, true, Shortcut::Redo},      {Qt::Key_S, false, Shortcut::Save},
    {Qt::Key_S, true, Shortcut::SaveAs},    {Qt::Key_O, false, Shortcut::LoadPoint},
    {Qt::Key_O, true, Shortcut::LoadBlock},
};

constexpr char HelpEnglish[] = R"(MOUSE
Click a menu entry (the diamonds on the right) to choose its command.
NEW POINT: click in a pane to place a point with the current parameters.
SELECT: click two corners in one 2D pane; Shift keeps the earlier selection.
  A right click with a box begun keeps only the selected points inside it;
  elsewhere it switches to MOVE POINT.
MOVE POINT: drag in a 2D pane to move the selected points; a right click returns to SELECT.
DELETE, LOAD BLOCK, SAVE POINT, LOAD POINT act at once.
VIEW: left drag pans a 2D pane or turns the 3D camera; right drag zooms a 2D pane or flies
  the camera; both buttons in the 3D pane raise and slide it.
The toggles below the menu switch grid lock, headings and the 2D panes.

KEYS
A / Z   kind + / -               S / X   parameter 2 + / -
D / C   parameter 3 + / -        F / V   id number + / -
Right / Left   turn the selected points
F11   take the parameters of the selection     F12   give them to the selection
Enter   show the selected points' parameters    F2   point count
F3   switch between two zooms   F5   check the links (selects the points involved)
F8   human count   F9   is the id number used?
Keypad 4 6 8 5   pan the 2D pane under the mouse     Keypad + / -   zoom
Keypad 0   select the point nearest the mouse
1 to 7   place a path of points    0   place four points    Insert   add a path point

SHORTCUTS
Ctrl+Z undo   Ctrl+Y or Ctrl+Shift+Z redo
Ctrl+S save   Ctrl+Shift+S save as   Ctrl+O load points   Ctrl+Shift+O load a map
F1 this help

FILES
A map, texture or points file changed by another program is loaded again.
With unsaved points the editor asks first.)";

constexpr char HelpJapanese[] = R"(マウス
右側のメニュー項目（◆）をクリックしてコマンドを選びます。
NEW POINT: ペインをクリックすると現在のパラメータでポイントを置きます。
SELECT: 2D ペインで二つの角をクリックして囲みます。Shift で前の選択に加えます。
  囲み始めてから右クリックすると、その中の選択ポイントだけを残します。
  それ以外の右クリックは MOVE POINT に切り替えます。
MOVE POINT: 2D ペインでドラッグすると選択ポイントが動きます。右クリックで SELECT に戻ります。
DELETE, LOAD BLOCK, SAVE POINT, LOAD POINT はすぐに実行されます。
VIEW: 左ドラッグで 2D ペインを動かし、3D カメラを回します。右ドラッグで 2D ペインを
  拡大縮小し、カメラを進めます。3D ペインで両ボタンを押すと上下左右に動きます。
メニューの下の切り替えでグリッド、向き、各 2D ペインを入り切りします。

キー
A / Z   種類 + / -               S / X   パラメータ 2 + / -
D / C   パラメータ 3 + / -       F / V   識別番号 + / -
→ / ←   選択ポイントの向きを回す
F11   選択ポイントのパラメータを取る     F12   選択ポイントに与える
Enter   選択ポイントのパラメータを表示     F2   ポイント数
F3   二つの倍率を切り替え   F5   リンク確認（問題のポイントを選択）
F8   配置人数   F9   識別番号確認
テンキー 4 6 8 5   マウスの下の 2D ペインを動かす     テンキー + / -   拡大縮小
テンキー 0   マウスに最も近いポイントを選択
1 ～ 7   経路ポイントを置く    0   四つのポイントを置く    Insert   経路ポイントを挿入

ショートカット
Ctrl+Z 元に戻す   Ctrl+Y または Ctrl+Shift+Z やり直す
Ctrl+S 保存   Ctrl+Shift+S 名前を付けて保存   Ctrl+O ポイントを開く   Ctrl+Shift+O マップを開く
F1 このヘルプ

ファイル
他のプログラムが変更したマップ、テクスチャ、ポイントファイルは読み込み直します。
保存していないポイントがあるときは先に確認します。)";

} // namespace

Shortcut shortcutFor(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers.testFlag(Qt::AltModifier) || modifiers.testFlag(Qt::MetaModifier)) {
        return Shortcut::None;
    }
    if (!modifiers.testFlag(Qt::ControlModifier)) {
        return qtKey == Qt::Key_F1 ? Shortcut::Help : Shortcut::None;
    }
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    for (const Combination& combination : CtrlCombinations) {
        if (combination.key == qtKey && combination.shift == shift) {
            return combination.shortcut;
        }
    }
    return Shortcut::None;
}

const char* helpText(bool english) {
    return english ? HelpEnglish : HelpJapanese;
}

const char* helpCaption(bool english) {
    return english ? "HELP" : "ヘルプ";
}

} // namespace tavo
