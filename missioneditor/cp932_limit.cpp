#include "missioneditor/cp932_limit.h"

#include <algorithm>

#include <QPlainTextEdit>
#include <QTextCursor>

#include "missioneditor/mission_info.h"

namespace tavo::mission {

std::size_t cp932SizeEstimate(const QString& text) {
    if (const auto size = cp932Size(text.toStdString())) {
        return *size;
    }
    std::size_t total = 0;
    for (const uint code : text.toUcs4()) {
        const char32_t c = code;
        total += cp932Size(QString::fromUcs4(&c, 1).toStdString()).value_or(2);
    }
    return total;
}

OneLineLimit::OneLineLimit(std::size_t limit, QObject* parent)
    : QValidator(parent), limit_(limit) {}

QValidator::State OneLineLimit::validate(QString& input, int& pos) const {
    for (qsizetype i = input.size() - 1; i >= 0; --i) {
        if (input[i] == u'\r' || input[i] == u'\n') {
            input.remove(i, 1);
            if (i < pos) {
                --pos;
            }
        }
    }
    return cp932SizeEstimate(input) <= limit_ ? Acceptable : Invalid;
}

namespace {

std::size_t sizeWithCrLf(const QString& text) {
    return cp932SizeEstimate(text) + static_cast<std::size_t>(text.count(u'\n'));
}

} // namespace

MultiLineLimit::MultiLineLimit(QPlainTextEdit* edit, std::size_t limit)
    : QObject(edit), edit_(edit), limit_(limit), accepted_(edit->toPlainText()) {
    connect(edit_, &QPlainTextEdit::textChanged, this, &MultiLineLimit::check);
}

void MultiLineLimit::setText(const QString& text) {
    restoring_ = true;
    edit_->setPlainText(text);
    restoring_ = false;
    accepted_ = edit_->toPlainText();
}

void MultiLineLimit::check() {
    if (restoring_) {
        return;
    }
    const QString text = edit_->toPlainText();
    if (sizeWithCrLf(text) <= limit_) {
        accepted_ = text;
        return;
    }
    // Put the cursor back where the refused input began.
    const auto grown = text.size() - accepted_.size();
    const auto position =
        std::clamp<qsizetype>(edit_->textCursor().position() - grown, 0, accepted_.size());
    restoring_ = true;
    edit_->setPlainText(accepted_);
    restoring_ = false;
    QTextCursor cursor = edit_->textCursor();
    cursor.setPosition(static_cast<int>(position));
    edit_->setTextCursor(cursor);
}

} // namespace tavo::mission
