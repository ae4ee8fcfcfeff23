// The program's exception family: a message and a code that tells callers what to show.
#pragma once

#include "app/StringTable.h"
#include "app/UserText.h"

#include <QByteArray>
#include <QString>
#include <exception>

// The base of every exception the program throws. Code -1: cancelled (show nothing);
// 0: generic failure (callers wrap the message in their own text); other: show the message as it
// is.
class COxaException : public std::exception {
public:
    static constexpr int kCancelled = -1;
    static constexpr int kGeneric = 0;

    COxaException(const QString& message, int code = kGeneric);
    COxaException(int code, const QString& message);
    // The message given as a string-table identifier, loaded in the current language.
    COxaException(StringId id, int code = kGeneric);
    // The message in both of its forms: shown translated, traced in English.
    COxaException(const UserText& text, int code = kGeneric);
    COxaException(const COxaException&) = default;
    COxaException& operator=(const COxaException&) = default;
    ~COxaException() override;

    // The message as it is shown to a person (in the current language).
    const QString& message() const { return m_text.shown; }
    // The message as the trace log writes it (English).
    const QString& traceMessage() const { return m_text.english; }
    const UserText& text() const { return m_text; }
    int code() const { return m_code; }
    bool isCancel() const { return m_code == kCancelled; }

    // "COxaException: <message> (<code>)" with the English message, the form written to the trace
    // log.
    QString traceText() const;
    const char* what() const noexcept override;

private:
    UserText m_text;
    int m_code;
    QByteArray m_utf8;
};

// Each subclass adds only its type, so that a catch can tell the origin.
#define QUILLET_OXA_EXCEPTION(Name, Base)                                                          \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
    }

QUILLET_OXA_EXCEPTION(COxaFileException, COxaException);         // file and WAV access
QUILLET_OXA_EXCEPTION(COxaEncoderException, COxaException);      // the file encoders
QUILLET_OXA_EXCEPTION(COxaDecoderException, COxaException);      // the decoders
QUILLET_OXA_EXCEPTION(COxaAudioSourceException, COxaException);  // the recording sources
QUILLET_OXA_EXCEPTION(COxaAVControllerException, COxaException); // sound device and mixer control
QUILLET_OXA_EXCEPTION(COxaThrException, COxaException);          // producer-consumer buffers
QUILLET_OXA_EXCEPTION(COxaThrClosedException, COxaThrException); // a buffer closed under a waiter

#undef QUILLET_OXA_EXCEPTION
