#include "desktop/PlatformChoice.h"

#include "desktop/DocumentsFolder.h"
#include "desktop/HeldBackCopyWatch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

TEST(ShouldAskForXcb, OnlyInAWaylandSessionWithXWaylandAndNoChosenPlatform) {
    using Env = std::map<std::string, QByteArray>;
    struct Case {
        const char* what;
        Env env;
        bool expected;
    };
    const Case cases[] = {
        {"X11 session", {{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}}, false},
        {"Wayland session with XWayland",
         {{"XDG_SESSION_TYPE", "wayland"}, {"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}},
         true},
        {"Wayland socket without a session type",
         {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":1"}},
         true},
        {"user chose a platform",
         {{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}},
         false},
        {"Wayland without XWayland",
         {{"XDG_SESSION_TYPE", "wayland"}, {"WAYLAND_DISPLAY", "wayland-0"}},
         false},
        {"no session at all", {}, false},
    };
    for (const Case& c : cases) {
        const auto reader = [&](const char* name) {
            const auto it = c.env.find(name);
            return it == c.env.end() ? QByteArray() : it->second;
        };
        EXPECT_EQ(desktop::shouldAskForXcb(reader), c.expected) << c.what;
    }
}

// Only an X client under a Wayland session can see copies that the compositor held back.
TEST(HeldBackCopyWatch, CopiesMayBeHeldBackOnlyForXWaylandInAWaylandSession) {
    using Env = std::map<std::string, QByteArray>;
    struct Case {
        const char* what;
        Env env;
        const char* platform;
        bool expected;
    };
    const Case cases[] = {
        {"X11 session", {{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}}, "xcb", false},
        {"XWayland in a Wayland session",
         {{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":0"}},
         "xcb",
         true},
        {"Wayland socket without a session type",
         {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}},
         "xcb",
         true},
        {"a Wayland client", {{"XDG_SESSION_TYPE", "wayland"}}, "wayland", false},
        {"offscreen in a Wayland session", {{"XDG_SESSION_TYPE", "wayland"}}, "offscreen", false},
    };
    for (const Case& c : cases) {
        const auto reader = [&](const char* name) {
            const auto it = c.env.find(name);
            return it == c.env.end() ? QByteArray() : it->second;
        };
        EXPECT_EQ(desktop::HeldBackCopyWatch::copiesMayBeHeldBack(reader,
                                                                  QString::fromLatin1(c.platform)),
                  c.expected)
            << c.what;
    }
}

// The documents folder comes from the user's XDG directories; whatever form it is written
// in there, "/Lexorra2" must append directly to it.
TEST(DocumentsFolder, DocumentsFolderWithoutTrailingSeparator) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/.config"));
    QDir(home.path()).mkpath(".config");

    struct Case {
        const char* userDirsLine;
        QString expected;
    };
    const Case cases[] = {
        {"XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n", home.path() + "/Docs"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/書類/\"\n", home.path() + "/書類"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/Deep/Folder//\"\n", home.path() + "/Deep/Folder"},
        {"", home.path() + "/Documents"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.userDirsLine);
        QFile dirs(home.path() + "/.config/user-dirs.dirs");
        ASSERT_TRUE(dirs.open(QIODevice::WriteOnly | QIODevice::Truncate));
        dirs.write(c.userDirsLine);
        dirs.close();
        QDir(home.path()).mkpath(c.expected);
        const QString folder = desktop::documentsFolder();
        EXPECT_EQ(folder, c.expected);
        EXPECT_FALSE(folder.endsWith('/'));
    }

    qputenv("HOME", oldHome);
    if (oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
}

} // namespace
