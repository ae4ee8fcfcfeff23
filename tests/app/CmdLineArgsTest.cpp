// The command line's parsing rules: one file, "-name:value" options split at the first colon.
#include "app/CmdLineArgs.h"

#include <gtest/gtest.h>

namespace {
CCmdLineArgs Parse(const QStringList& args) {
    return CCmdLineArgs(QStringList{QStringLiteral("quillet")} + args);
}
} // namespace

TEST(CmdLineArgs, FirstPlainArgumentIsTheFileAndLaterOnesAreIgnored) {
    const CCmdLineArgs args = Parse({"a.mp3", "-lang:de", "b.mp3"});
    EXPECT_EQ(args.file(), QStringLiteral("a.mp3"));
    EXPECT_EQ(args.GetOption("lang"), QStringLiteral("de"));
    EXPECT_TRUE(Parse({}).file().isEmpty());
    // The program name itself is never the file.
    EXPECT_TRUE(Parse({"-x:1"}).file().isEmpty());
}

TEST(CmdLineArgs, OptionsNeedANameAndAColonAndAreCaseSensitive) {
    const CCmdLineArgs args = Parse({"-lang", "-:x", "-LANG:de", "/skin:s.sdf"});
    EXPECT_EQ(args.GetOption("lang", "none"), QStringLiteral("none"));
    EXPECT_EQ(args.GetOption(""), QString());
    EXPECT_EQ(args.GetOption("LANG"), QStringLiteral("de"));
    EXPECT_EQ(args.GetOption("skin"), QStringLiteral("s.sdf"));
    EXPECT_TRUE(args.file().isEmpty());
}

TEST(CmdLineArgs, ValueKeepsEveryColonAfterTheFirst) {
    const CCmdLineArgs args = Parse({"/work_dir:D:\\cfg:x", "-log_dir:"});
    EXPECT_EQ(args.GetOption("work_dir"), QStringLiteral("D:\\cfg:x"));
    // An empty value is a given option with an empty text, not the default.
    EXPECT_EQ(args.GetOption("log_dir", "default"), QString());
}

TEST(CmdLineArgs, LaterOptionReplacesEarlierOne) {
    EXPECT_EQ(Parse({"-lang:en", "-lang:de"}).GetOption("lang"), QStringLiteral("de"));
}

TEST(CmdLineArgs, TypedOptionsConvertLikeTheCRuntime) {
    const CCmdLineArgs args = Parse({"-n:  42abc", "-neg:-7", "-x:foo", "-d:2.5e1s", "-b:0"});
    EXPECT_EQ(args.GetOptionInt("n", 5), 42);
    EXPECT_EQ(args.GetOptionInt("neg", 5), -7);
    EXPECT_EQ(args.GetOptionInt("x", 5), 0);
    EXPECT_EQ(args.GetOptionInt("missing", 5), 5);
    EXPECT_DOUBLE_EQ(args.GetOptionDouble("d", 1.0), 25.0);
    EXPECT_DOUBLE_EQ(args.GetOptionDouble("missing", 1.5), 1.5);
    EXPECT_FALSE(args.GetOptionBool("b", true));
    EXPECT_TRUE(args.GetOptionBool("n", false));
    EXPECT_FALSE(args.GetOptionBool("x", true)); // "foo" converts to 0
    EXPECT_TRUE(args.GetOptionBool("missing", true));
}
