#include "missioneditor/mission_file.h"

#include <QFile>
#include <QSaveFile>

namespace tavo::mission {

std::optional<std::string> readFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return bytes.toStdString();
}

SaveOutcome saveFileBytes(const QString& path, std::string_view bytes) {
    QSaveFile file(path);
    // Never fall back to writing the target in place: that is what could leave it half-written.
    file.setDirectWriteFallback(false);
    // Unbuffered, so that a write the disk refuses fails here: a buffered QSaveFile writes in
    // commit(), which then renames a file cut short by a full disk over the target and succeeds.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return SaveOutcome::CannotOpen;
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        return SaveOutcome::CannotWrite; // the temporary file goes with `file`
    }
    return file.commit() ? SaveOutcome::Saved : SaveOutcome::CannotWrite;
}

} // namespace tavo::mission
