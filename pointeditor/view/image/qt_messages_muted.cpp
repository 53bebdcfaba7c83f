#include "pointeditor/view/image/qt_messages_muted.h"

#include <QtCore/QtGlobal>

#include <mutex>

namespace tavo {

namespace {

std::mutex mutex;
int mutings = 0;                     // on every thread; guarded by the mutex
QtMessageHandler previous = nullptr; // what was installed before the first; guarded likewise
thread_local int mutedHere = 0;      // on this thread

void dropMutedMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (mutedHere > 0) {
        return;
    }
    QtMessageHandler handler = nullptr;
    {
        const std::lock_guard lock(mutex);
        handler = previous;
    }
    handler(type, context, text);
}

} // namespace

QtMessagesMuted::QtMessagesMuted() {
    const std::lock_guard lock(mutex);
    if (mutings++ == 0) {
        previous = qInstallMessageHandler(dropMutedMessages); // Qt's own when none was set
    }
    ++mutedHere;
}

QtMessagesMuted::~QtMessagesMuted() {
    const std::lock_guard lock(mutex);
    --mutedHere;
    if (--mutings == 0) {
        qInstallMessageHandler(previous);
    }
}

} // namespace tavo
