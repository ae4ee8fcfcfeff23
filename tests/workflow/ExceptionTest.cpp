// The exception texts as they are traced and shown, and the routines that show a message.
#include "ModelTestSupport.h"
#include "app/OxaException.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int kCouldNotOpenFile = 123; // "Could not open file: %s."

TEST(OxaExceptionTest, WhatAndTraceTextKeepTheMessageAsItIs) {
    std::unique_ptr<COxaException> copy;
    {
        const COxaDecoderException original(QStringLiteral("Datei gr\u00f6\u00dfer 100% %1"), 4);
        copy = std::make_unique<COxaException>(original);
    }
    EXPECT_STREQ(copy->what(), "Datei gr\xC3\xB6\xC3\x9F"
                               "er 100% %1");
    EXPECT_EQ(copy->traceText(),
              QStringLiteral("COxaException: Datei gr\u00f6\u00dfer 100% %1 (4)"));
    COxaException assigned(QStringLiteral("old"), 1);
    assigned = *copy;
    EXPECT_STREQ(assigned.what(), copy->what());
    EXPECT_EQ(COxaException(QString()).traceText(), QStringLiteral("COxaException:  (0)"));
    EXPECT_EQ(COxaException(StringId{kCouldNotOpenFile}, 2).message(),
              QStringLiteral("Could not open file: %s."));
    EXPECT_TRUE(COxaThrClosedException(QStringLiteral("closed"), -1).isCancel());
}

TEST(UserMessagesTest, ErrorsAreTracedAndShownInformationIsTracedAtDebugLevel) {
    TraceCapture trace(TRACE_INFO);
    modeltest::RecordingMessages ui;
    ShowErrorMessageId(ui, kCouldNotOpenFile, QStringLiteral("song 100%.mp3"));
    ShowInfoMessage(ui, QStringLiteral("Recording ended."));
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].first, IUserMessages::Kind::Error);
    EXPECT_EQ(ui.shown[0].second, QStringLiteral("Could not open file: song 100%.mp3."));
    EXPECT_EQ(ui.shown[1].first, IUserMessages::Kind::Information);
    EXPECT_EQ(trace.lines().size(), 1);
    EXPECT_TRUE(trace.hasLine("ERR", QStringLiteral("Could not open file: song 100%.mp3.")));

    TraceSetLevel(TRACE_DEBUG);
    ShowInfoMessage(ui, QStringLiteral("Recording ended."));
    EXPECT_TRUE(trace.hasLine("DBG", QStringLiteral("Recording ended.")));
}

} // namespace
