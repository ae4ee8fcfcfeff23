// The command line's parsing rules: one file, "-name:value" options split at the first colon,
// "/name:value" only for known names, and GNU forms.
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

TEST(CmdLineArgs, AbsolutePathsAreFilesAndGnuFormsAreOptions) {
    // A file manager passes absolute paths: only known names take the "/" form.
    const CCmdLineArgs path = Parse({"/home/me/song.mp3", "/lang:de", "/tmp/b.mp3"});
    EXPECT_EQ(path.file(), u"/home/me/song.mp3"_s);
    EXPECT_EQ(path.GetOption("lang"), u"de"_s);
    EXPECT_EQ(Parse({"/lang", "/x:1"}).file(), u"/x:1"_s);
    // GNU forms, with the value after "=" or in the next argument; "--" ends the options.
    const CCmdLineArgs gnu =
        Parse({"--work-dir", "/w d", "--lang=de", "--", "-odd.mp3", "--trace-level"});
    EXPECT_EQ(gnu.GetOption("work_dir"), u"/w d"_s);
    EXPECT_EQ(gnu.GetOption("lang"), u"de"_s);
    EXPECT_EQ(gnu.file(), u"-odd.mp3"_s);
    EXPECT_EQ(gnu.GetOption("trace_level", "none"), u"none"_s);
    EXPECT_EQ(Parse({"--skin"}).GetOption("skin", "none"), u"none"_s);
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
