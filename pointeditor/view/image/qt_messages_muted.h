#pragma once
// Qt's image plugins tell the process's message handler (standard error, unless a program
// installed its own) what they dislike in a file. For a texture that is already said by its
// finding (damaged, unsupported format, over the budget), so while a thread reads an image,
// Qt's messages on that thread are dropped; messages of other threads, and of this thread
// before and after, go where they went before.
//
// Textures are read on several threads at once: the first muting installs the handler, the
// last one puts back what was there.

namespace tavo {

class QtMessagesMuted {
public:
    QtMessagesMuted();
    ~QtMessagesMuted();
    QtMessagesMuted(const QtMessagesMuted&) = delete;
    QtMessagesMuted& operator=(const QtMessagesMuted&) = delete;
};

} // namespace tavo
