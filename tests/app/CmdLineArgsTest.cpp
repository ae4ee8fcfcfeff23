// The command line's parsing rules: one file, "-name:value" options split at the first colon.
#include "app/CmdLineArgs.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
CCmdLineArgs Parse(const QStringList& args) {
    return CCmdLineArgs(QStringList{u"quillet"_s} + args);
}
} // namespace

TEST(CmdLineArgs, FirstPlainArgumentIsTheFileAndLaterOnesAreIgnored) {
    const CCmdLineArgs args = Parse({"a.mp3", "-lang:de", "b.mp3"});
    EXPECT_EQ(args.file(), u"a.mp3"_s);
    EXPECT_EQ(args.GetOption("lang"), u"de"_s);
    EXPECT_TRUE(Parse({}).file().isEmpty());
    // The program name itself is never the file.
    EXPECT_TRUE(Parse({"-x:1"}).file().isEmpty());
}

TEST(CmdLineArgs, OptionsNeedANameAndAColonAreCaseSensitiveAndKeepLaterColons) {
    const CCmdLineArgs args = Parse({"-lang", "-:x", "-LANG:de", "/skin:s.sdf"});
    EXPECT_EQ(args.GetOption("lang", "none"), u"none"_s);
    EXPECT_EQ(args.GetOption(""), QString());
    EXPECT_EQ(args.GetOption("LANG"), u"de"_s);
    EXPECT_EQ(args.GetOption("skin"), u"s.sdf"_s);
    EXPECT_TRUE(args.file().isEmpty());
    // The value keeps every colon after the first; an empty value is given, not the default.
    const CCmdLineArgs more = Parse({"/work_dir:D:\\cfg:x", "-log_dir:", "-l:en", "-l:de"});
    EXPECT_EQ(more.GetOption("work_dir"), u"D:\\cfg:x"_s);
    EXPECT_EQ(more.GetOption("log_dir", "default"), QString());
    // A later option replaces an earlier one.
    EXPECT_EQ(more.GetOption("l"), u"de"_s);
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
