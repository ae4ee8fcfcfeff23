// Tests of the exception family and of the routines that show a message to the user.
#include "app/IUserMessages.h"
#include "app/OxaException.h"
#include "app/StringTable.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

// Records every message the core asks to show.
class RecordingMessages : public IUserMessages {
public:
    void ShowMessage(Kind kind, const QString& text) override { shown.emplace_back(kind, text); }
    std::vector<std::pair<Kind, QString>> shown;
};

// The string-table entry "Could not open file: %s.".
constexpr int kCouldNotOpenFile = 123;

TEST(OxaExceptionTest, ConstructorsKeepMessageAndCode) {
    const COxaException byMessage(QStringLiteral("disk full"), 3);
    EXPECT_EQ(byMessage.message(), QStringLiteral("disk full"));
    EXPECT_EQ(byMessage.code(), 3);

    const COxaException byCode(7, QStringLiteral("shown as it is"));
    EXPECT_EQ(byCode.message(), QStringLiteral("shown as it is"));
    EXPECT_EQ(byCode.code(), 7);

    const COxaException generic(QStringLiteral("wrapped"));
    EXPECT_EQ(generic.code(), COxaException::kGeneric);
    EXPECT_FALSE(generic.isCancel());
    EXPECT_TRUE(COxaException(-1, QString()).isCancel());

    const COxaException fromTable(StringId{kCouldNotOpenFile}, 2);
    EXPECT_EQ(fromTable.message(), QStringLiteral("Could not open file: %s."));
    EXPECT_EQ(fromTable.code(), 2);
}

TEST(OxaExceptionTest, CopyOutlivesTheOriginalAndKeepsItsText) {
    std::unique_ptr<COxaException> copy;
    {
        const COxaException original(QStringLiteral("Datei gr\u00f6\u00dfer als 2 GB"), 4);
        copy = std::make_unique<COxaException>(original);
    }
    EXPECT_EQ(copy->message(), QStringLiteral("Datei gr\u00f6\u00dfer als 2 GB"));
    EXPECT_EQ(copy->code(), 4);
    EXPECT_STREQ(copy->what(), "Datei gr\xC3\xB6\xC3\x9F"
                               "er als 2 GB");

    COxaException assigned(QStringLiteral("old"), 1);
    assigned = *copy;
    EXPECT_EQ(assigned.message(), copy->message());
    EXPECT_STREQ(assigned.what(), copy->what());
}

TEST(OxaExceptionTest, TraceText) {
    EXPECT_EQ(COxaException(QStringLiteral("disk full"), 3).traceText(),
              QStringLiteral("COxaException: disk full (3)"));
    EXPECT_EQ(COxaException(-1, QStringLiteral("100% done")).traceText(),
              QStringLiteral("COxaException: 100% done (-1)"));
    EXPECT_EQ(COxaException(QString()).traceText(), QStringLiteral("COxaException:  (0)"));
    // Placeholders inside the message are text, not places to fill.
    EXPECT_EQ(COxaException(QStringLiteral("mix%2.wav, Track %1"), 3).traceText(),
              QStringLiteral("COxaException: mix%2.wav, Track %1 (3)"));
}

TEST(OxaExceptionTest, SubclassesAreCaughtAsTheirBase) {
    try {
        throw COxaDecoderException(5, QStringLiteral("bad frame"));
    } catch (const COxaException& e) {
        EXPECT_NE(dynamic_cast<const COxaDecoderException*>(&e), nullptr);
        EXPECT_EQ(dynamic_cast<const COxaFileException*>(&e), nullptr);
        EXPECT_EQ(e.code(), 5);
        EXPECT_EQ(e.message(), QStringLiteral("bad frame"));
    }
    try {
        throw COxaEncoderException(QStringLiteral("encoder"));
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "encoder");
    }

    // Every member of the family is a COxaException.
    auto caughtAsBase = [](auto thrown) {
        try {
            throw thrown;
        } catch (const COxaException& e) {
            return e.message() == QStringLiteral("m");
        } catch (...) {
            return false;
        }
    };
    const QString m = QStringLiteral("m");
    EXPECT_TRUE(caughtAsBase(COxaFileException(m)));
    EXPECT_TRUE(caughtAsBase(COxaEncoderException(m)));
    EXPECT_TRUE(caughtAsBase(COxaDecoderException(m)));
    EXPECT_TRUE(caughtAsBase(COxaAudioSourceException(m)));
    EXPECT_TRUE(caughtAsBase(COxaAVControllerException(m)));
    EXPECT_TRUE(caughtAsBase(COxaThrException(m)));
    EXPECT_TRUE(caughtAsBase(COxaThrClosedException(m)));

    // A closed buffer is a thread failure; a thread failure is not a closed buffer.
    bool closedCaughtAsThr = false;
    try {
        throw COxaThrClosedException(QStringLiteral("closed"), -1);
    } catch (const COxaThrException& e) {
        closedCaughtAsThr = e.isCancel();
    }
    EXPECT_TRUE(closedCaughtAsThr);
    bool thrCaughtAsClosed = false;
    try {
        throw COxaThrException(QStringLiteral("queue"));
    } catch (const COxaThrClosedException&) {
        thrCaughtAsClosed = true;
    } catch (const COxaThrException&) {
    }
    EXPECT_FALSE(thrCaughtAsClosed);
}

TEST(UserMessagesTest, ErrorIsTracedAtErrorLevelAndShownOnce) {
    TraceCapture trace(TRACE_ERROR);
    RecordingMessages ui;
    ShowErrorMessage(ui, QStringLiteral("The file is damaged."));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].first, IUserMessages::Kind::Error);
    EXPECT_EQ(ui.shown[0].second, QStringLiteral("The file is damaged."));
    EXPECT_TRUE(trace.hasLine("ERR", QStringLiteral("The file is damaged.")));

    ShowErrorMessageId(ui, kCouldNotOpenFile, QStringLiteral("song 100%.mp3"));
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].first, IUserMessages::Kind::Error);
    EXPECT_EQ(ui.shown[1].second, QStringLiteral("Could not open file: song 100%.mp3."));
    EXPECT_TRUE(trace.hasLine("ERR", QStringLiteral("Could not open file: song 100%.mp3.")));
    EXPECT_EQ(trace.lines().size(), 2);
}

TEST(UserMessagesTest, InformationIsTracedAtDebugLevel) {
    TraceCapture trace(TRACE_INFO);
    RecordingMessages ui;
    ShowInfoMessage(ui, QStringLiteral("Recording ended."));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].first, IUserMessages::Kind::Information);
    EXPECT_TRUE(trace.lines().isEmpty());

    TraceSetLevel(TRACE_DEBUG);
    ShowInfoMessage(ui, QStringLiteral("Recording ended."));
    EXPECT_EQ(ui.shown.size(), 2u);
    EXPECT_TRUE(trace.hasLine("DBG", QStringLiteral("Recording ended.")));
}

} // namespace
