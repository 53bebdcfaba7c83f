#pragma once
// Tab still moves from field to field, as users expect, but a line edit reached by Tab no longer
// selects its whole text, which the next key typed would replace: the cursor goes to its end.

#include <QObject>

namespace tavo::mission {

class TabKeepsText : public QObject {
public:
    using QObject::QObject;

    // Installs one filter, owned by `dialog`, on every line edit inside it.
    static void installOn(QWidget* dialog);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tavo::mission
