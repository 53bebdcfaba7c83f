#pragma once
// Qt's own texts (the standard buttons of boxes, file dialogs, input boxes) in the language a
// program shows: Japanese from Qt's catalogue qtbase_ja in Qt's translations folder (Debian's
// qt6-translations-l10n), English as Qt writes them. QtCore only.

#include <QtCore/QTranslator>

namespace tavo {

class QtTranslations {
public:
    // Puts Qt's Japanese texts in place, or takes them away for English. Without the catalogue
    // Qt's texts stay English.
    void use(bool japanese);

private:
    QTranslator translator_; // takes itself out of the application when it goes
    bool installed_ = false;
};

} // namespace tavo
