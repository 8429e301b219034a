// Runs the built lexorra2-url as a script would and checks its output and exit status.
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

ToolRun run(const QList<QByteArray>& args) {
    // QProcess would re-encode arguments as UTF-8; the shell's printf passes every byte,
    // so that invalid UTF-8 reaches the tool unchanged.
    QByteArray script = "exec \"$0\"";
    for (const auto& a : args) {
        script += " \"$(printf '";
        for (unsigned char b : a)
            script += '\\' + QByteArray::number(b, 8).rightJustified(3, '0');
        script += "')\"";
    }
    QProcess p;
    p.start(QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), QString::fromLatin1(script), QStringLiteral(LEXORRA2_URL_PATH)});
    EXPECT_TRUE(p.waitForFinished(10000));
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace

struct ToolCase {
    const char* name;
    QList<QByteArray> args;
    int exitCode;
    const char* out;         // exact stdout
    const char* errContains; // part of the one stderr line, or nullptr for none
};

class UrlTool : public testing::TestWithParam<ToolCase> {};

TEST_P(UrlTool, OutputAndStatus) {
    const auto& c = GetParam();
    const ToolRun r = run(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_EQ(r.out.toStdString(), c.out);
    if (c.errContains) {
        EXPECT_TRUE(r.err.contains(c.errContains)) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.endsWith('\n'));
    } else {
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UrlTool,
    testing::Values(
        ToolCase{"Utf8Text",
                 {"Wikipedia_hyakka", "日本"},
                 0,
                 "http://ja.wikipedia.org/wiki/%E6%97%A5%E6%9C%AC\n",
                 nullptr},
        ToolCase{"RawTextStaysUtf8",
                 {"goo_kokugo", "辞書"},
                 0,
                 "http://dictionary.goo.ne.jp/srch/all/辞書/m0u/\n",
                 nullptr},
        ToolCase{"NoTextMeansEmpty",
                 {"Wikipedia_hyakka"},
                 0,
                 "http://ja.wikipedia.org/wiki/\n",
                 nullptr},
        ToolCase{"EmptyText", {"youku_movie", ""}, 0, "so.youku.com/search_video/q_\n", nullptr},
        ToolCase{"UnknownKey", {"nosuch_site", "x"}, 2, "", "nosuch_site"},
        ToolCase{"NoneEntryIsNoSite", {"A_no_uses_kokugo_check"}, 2, "", "unknown site key"},
        ToolCase{"InvalidUtf8",
                 {"Wikipedia_hyakka", QByteArray("\xff\xfe", 2)},
                 2,
                 "",
                 "not valid UTF-8"},
        ToolCase{"LoneSurrogateEncoded",
                 {"Wikipedia_hyakka", QByteArray("\xed\xa0\x80")},
                 2,
                 "",
                 "not valid UTF-8"},
        ToolCase{"NoArguments", {}, 2, "", "usage"},
        ToolCase{"TooManyArguments", {"Wikipedia_hyakka", "a", "b"}, 2, "", "usage"},
        ToolCase{"UnknownOption", {"--lst"}, 2, "", "--lst"},
        ToolCase{"ListTakesNoText", {"--list", "x"}, 2, "", "usage"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UrlToolList, EverySiteInButtonAndDispatchOrder) {
    const ToolRun r = run({"--list"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.isEmpty());
    const QList<QByteArray> lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 163);
    EXPECT_EQ(lines.mid(0, 3), (QList<QByteArray>{"yahoo2_kokugo", "goo_kokugo", "goo2_kokugo"}));
    EXPECT_EQ(lines[7], "ALC_eiwa");
    EXPECT_EQ(lines[14], "ALC_2_eiwa");
    EXPECT_EQ(lines.last(), "CSharpandVBNET_BBS");
    // Every listed key gives a URL.
    for (const auto& key : {lines[0], lines[14], lines[100], lines.last()})
        EXPECT_EQ(run({key, "x"}).exitCode, 0) << key.toStdString();
}
