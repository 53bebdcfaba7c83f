#include "tools/pointtool/tool_files.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tavo::pointtool {
namespace {

QString qtPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace

FileBytes readFileBytes(const std::string& path, std::size_t maxBytes) {
    FileBytes result;
    const QString name = qtPath(path);
    if (QFileInfo(name).isDir()) {
        result.error = "cannot read " + path + ": it is a directory";
        return result;
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = "cannot read " + path + ": " + file.errorString().toStdString();
        return result;
    }
    const QByteArray data = file.read(static_cast<qint64>(maxBytes) + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = "cannot read " + path + ": " + file.errorString().toStdString();
        return result;
    }
    if (static_cast<std::size_t>(data.size()) > maxBytes) {
        result.error = "cannot read " + path + ": larger than " + std::to_string(maxBytes) +
                       " bytes, which is too large for this kind of file";
        return result;
    }
    result.bytes.assign(data.begin(), data.end());
    result.ok = true;
    return result;
}

std::string writeFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
    QSaveFile file(qtPath(path));
    // Unbuffered, so that a short write (a full disk) shows in write()'s result instead of
    // vanishing in the flush that commit() does.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return "cannot write " + path + ": " + file.errorString().toStdString();
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
        const std::string reason = file.errorString().toStdString();
        file.cancelWriting();
        return "cannot write " + path + ": " + reason;
    }
    if (!file.commit()) {
        return "cannot write " + path + ": " + file.errorString().toStdString();
    }
    return {};
}

} // namespace tavo::pointtool
