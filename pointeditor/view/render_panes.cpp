#include "pointeditor/view/render_panes.h"

namespace tavo {

void renderPanes(EditorState&) {}

} // namespace tavo
