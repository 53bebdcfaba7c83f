#include "missioneditor/tab_keeps_text.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>

namespace tavo::mission {

void TabKeepsText::installOn(QWidget* dialog) {
    auto* filter = new TabKeepsText(dialog);
    for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
        edit->installEventFilter(filter);
    }
}

bool TabKeepsText::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusIn) {
        return false;
    }
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr || (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason)) {
        return false;
    }
    // QLineEdit selects everything when focus comes by Tab, and only then; the same focus
    // with another reason leaves the text alone.
    QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(edit, &plain);
    edit->end(false);
    return true;
}

} // namespace tavo::mission
