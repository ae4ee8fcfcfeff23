// The test folder of a decoder's suite: inputs written into it and runs that decode into a WAV
// file, with what each run left behind.
#pragma once

#include "app/OpResult.h"
#include "support/TestProgress.h"
#include "support/TestSupport.h"
#include "support/Tone.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace decodetest {

using namespace testsupport;

// What one decoding run left behind: its result, its error, its progress and the output.
struct Decoded {
    uint32_t result = 0;
    uint32_t errorCode = 0;
    QString errorText;
    std::unique_ptr<CTestProgress> progress;
    bool outputExists = false;
    DecodedWav wav;
};

template <class D> class DecoderFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

    // Decodes input into the output (out.wav by default), cancelling at the given IsCanceled
    // call (-1 never).
    Decoded decode(const QString& input, int cancelAtCall = -1, QString output = {}) {
        if (output.isEmpty())
            output = path("out.wav");
        Decoded d;
        d.progress = std::make_unique<CTestProgress>(cancelAtCall);
        D decoder;
        d.result = decoder.decodeFile(input, output, d.progress.get());
        d.errorCode = decoder.getErrorCode();
        d.errorText = decoder.getErrorText();
        d.outputExists = QFile::exists(output);
        if (d.outputExists)
            d.wav = ReadDecodedWav(output);
        return d;
    }
    // Decodes input, which must succeed without an error text into a complete WAV file.
    Decoded decoded(const QString& input) {
        Decoded d = decode(input);
        EXPECT_EQ(d.result, uint32_t(OpSuccess)) << input.toStdString();
        EXPECT_TRUE(d.errorText.isEmpty()) << input.toStdString();
        EXPECT_TRUE(d.wav.valid) << input.toStdString();
        return d;
    }
    // An input file made of bytes in the test folder.
    QString make(const QString& name, const QByteArray& bytes) {
        WriteBytes(path(name), bytes);
        return path(name);
    }
    // Decoding fails with the result and the error text and leaves no output, not even one that
    // was there before (with stale); what the run left behind.
    Decoded expectFailure(const QString& input, uint32_t result, const QString& text,
                          bool stale = true) {
        SCOPED_TRACE(input.toStdString());
        if (stale)
            WriteBytes(path("out.wav"), "stale");
        else
            QFile::remove(path("out.wav"));
        Decoded d = decode(input);
        EXPECT_EQ(d.result, result);
        EXPECT_EQ(d.errorText, text);
        EXPECT_FALSE(d.outputExists);
        return d;
    }
};

} // namespace decodetest
