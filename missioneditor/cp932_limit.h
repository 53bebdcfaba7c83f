#pragma once
// Keeping the dialog's edits within what a mission file holds: each field's limit counts CP932
// bytes, not characters, so the edits refuse input past it instead of the writer cutting it off.

#include <cstddef>

#include <QObject>
#include <QString>
#include <QValidator>

class QPlainTextEdit;

namespace tavo::mission {

// The CP932 size of a text. A character without a CP932 form counts as two bytes, so a limit
// still holds while such text waits for saving to refuse it with a message.
std::size_t cp932SizeEstimate(const QString& text);

// A one-line edit's validator: drops line ends from typed or pasted text and refuses a text over
// the limit.
class OneLineLimit : public QValidator {
public:
    OneLineLimit(std::size_t limit, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    std::size_t limit_;
};

// Undoes any change to a multi-line edit that takes its text, with CR LF between lines, past the
// limit. setText bypasses the check, for text read from a file.
class MultiLineLimit : public QObject {
public:
    MultiLineLimit(QPlainTextEdit* edit, std::size_t limit);
    void setText(const QString& text);

private:
    void check();

    QPlainTextEdit* edit_;
    std::size_t limit_;
    QString accepted_;
    bool restoring_ = false;
};

} // namespace tavo::mission
