// A message for a person in its two forms: English for the trace log, translated to be shown.
#pragma once

#include "app/StringTable.h"

#include <QString>

#include <utility>

// The trace log stays English while the person reads the current language; code that both traces
// and hands on a text keeps the two forms together in one of these.
struct UserText {
    QString english; // the form the trace log writes
    QString shown;   // the form shown to the person

    UserText() = default;
    // A text that has no translation (a system error text, a server's text): both forms alike.
    explicit UserText(const QString& text) : english(text), shown(text) {}
    UserText(QString englishText, QString shownText)
        : english(std::move(englishText)), shown(std::move(shownText)) {}

    bool isEmpty() const { return shown.isEmpty(); }
};

namespace user_text_detail {
// An argument as it goes into each form: a UserText lends each form its own form.
template <class T> const T& English(const T& value) {
    return value;
}
inline const QString& English(const UserText& text) {
    return text.english;
}
template <class T> const T& Shown(const T& value) {
    return value;
}
inline const QString& Shown(const UserText& text) {
    return text.shown;
}
} // namespace user_text_detail

// A string-table entry in both forms.
inline UserText LoadUserText(int id) {
    return UserText(QString::fromUtf8(EnglishString(id)), LoadString(id));
}

// A string-table entry in both forms, each formatted printf-style with the arguments.
template <class... Args> UserText FormatUserText(int id, const Args&... args) {
    return UserText(
        Sprintf(QString::fromUtf8(EnglishString(id)), user_text_detail::English(args)...),
        FormatString(id, user_text_detail::Shown(args)...));
}
