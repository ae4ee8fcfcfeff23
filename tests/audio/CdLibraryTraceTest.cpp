// The CD-audio library's texts in the trace log between start-up and shutdown.
#include "audio/CdLibraryTrace.h"
#include "platform/cdaudio/CdAudio.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

#include <cdio/version.h>

using namespace Qt::StringLiterals;

TEST(CdLibraryTrace, VersionLineAndLibraryTextsUntilStopped) {
    const TraceCapture trace;
    StartCdLibraryTrace();
    EXPECT_TRUE(trace.hasLine("DBG", u"aspi version = %1.%2"_s.arg(LIBCDIO_VERSION_NUM / 10000)
                                         .arg(LIBCDIO_VERSION_NUM / 100 % 100)));
    CDLIST list{};
    list.max = kCdMaxDrives;
    GetCDList(&list);
    const QString text = u"GetCDList: %1 drives found, %1 listed"_s.arg(list.num);
    EXPECT_TRUE(trace.hasLine("DBG", text)) << trace.lines().join('\n').toStdString();

    StopCdLibraryTrace();
    const qsizetype before = trace.lines().size();
    GetCDList(&list);
    EXPECT_EQ(trace.lines().size(), before);
}
