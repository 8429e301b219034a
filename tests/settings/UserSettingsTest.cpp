#include "settings/UserSettings.h"

#include "DefaultSettingsFile.h"
#include "lookup/Catalogue.h"
#include "lookup/CodePage932.h"
#include "lookup/SiteSelection.h"
#include "settings/LineText.h"
#include "settings/OptionsStore.h"
#include "settings/SettingsFolder.h"
#include "settings/SettingsLines.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace settings;
using namespace testfiles;
using lookup::Catalogue;
using lookup::LookupCategory;
using lookup::SiteEntry;

namespace {

using enum lookup::CategoryId;

const LookupCategory& category(lookup::CategoryId id) {
    return Catalogue::instance().category(id);
}

const SiteEntry& site(const char* key) {
    return *Catalogue::instance().siteByKey(QString::fromLatin1(key));
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A documents folder of its own, a program state at window creation and a record of what the
// settings asked for.
class UserSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        documents = home.filePath(QStringLiteral("Documents"));
        folder = documents + QStringLiteral("/Lexorra2");
        settingsPath = folder + QStringLiteral("/Lexorra2.ini");
        categoryPath = folder + QStringLiteral("/jisyo2.ini");
        configFolder = home.filePath(QStringLiteral(".config/lexorra2"));
        configPath = configFolder + QStringLiteral("/lexorra2.conf");
        markerFolder = home.filePath(QStringLiteral("cwd"));
        ASSERT_TRUE(QDir().mkpath(markerFolder));
        makeSettings(1080);
    }

    void makeSettings(int screenHeight) {
        user = std::make_unique<UserSettings>(store, selection, documents, screenHeight);
        user->setMarkerFolder(markerFolder);
        user->setConfigFolder(configFolder);
        QObject::connect(user.get(), &UserSettings::priorityRequested, [this](ProcessPriority p) {
            effects << QStringLiteral("priority %1").arg(int(p));
        });
        QObject::connect(user.get(), &UserSettings::problem,
                         [this](const QString& message) { problems << message; });
    }

    void writeSettingsFile(const QByteArray& bytes) {
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_TRUE(writeAll(settingsPath, bytes));
    }

    // A program started afresh on a settings file holding these bytes.
    struct FreshProgram {
        lookup::SiteSelection selection;
        OptionsStore store;
        std::unique_ptr<UserSettings> user;
        QStringList lines() const { return SettingsLines::write(store.options(), selection); }
    };
    std::unique_ptr<FreshProgram> startWith(const QByteArray& bytes) {
        writeSettingsFile(bytes);
        auto program = std::make_unique<FreshProgram>();
        program->user =
            std::make_unique<UserSettings>(program->store, program->selection, documents, 1080);
        program->user->setConfigFolder(configFolder);
        program->user->loadSettings();
        return program;
    }

    QTemporaryDir home;
    QString documents, folder, settingsPath, categoryPath, markerFolder, configFolder, configPath;
    OptionsStore store;
    lookup::SiteSelection selection;
    std::unique_ptr<UserSettings> user;
    QStringList effects;
    QStringList problems;
};

} // namespace

TEST_F(UserSettingsTest, NoFilesLeaveTheStartingState) {
    const Options before = store.options();
    user->loadSettings();
    user->loadCategoryVisibility();
    EXPECT_EQ(store.options(), before);
    EXPECT_TRUE(effects.isEmpty());
    EXPECT_TRUE(problems.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder)); // reading creates nothing
    for (const LookupCategory& c : Catalogue::instance().categories())
        EXPECT_EQ(selection.buttonVisible(c), !c.copyOf) << c.categoryKey.toStdString();
}

// A file is put in force as one change of the options; the priority, the process's own, is
// asked for besides.
TEST_F(UserSettingsTest, ReadingAppliesTheFileAndAsksForItsEffects) {
    QStringList lines = defaultLines();
    lines[8] = u("Bing");
    lines[20] = "False"; // no toolbar
    lines[22] = "True";  // minimise at start
    lines[32] = u("高い");
    lines[33] = "Max";
    lines[34] = "0";
    lines[35] = "127.0.0.1:3128";
    writeSettingsFile(bytesFromLines(lines));

    int changes = 0;
    QObject::connect(&store, &OptionsStore::changed, [&] { ++changes; });
    user->loadSettings();

    EXPECT_EQ(effects,
              QStringList({QStringLiteral("priority %1").arg(int(ProcessPriority::High))}));
    EXPECT_TRUE(store.options().useProxy());
    EXPECT_EQ(store.options().proxyAddress, QStringLiteral("127.0.0.1:3128"));
    EXPECT_EQ(changes, 1); // the whole file is one change
    EXPECT_FALSE(store.options().showToolbar);
    EXPECT_TRUE(store.options().minimiseAtStart);
    EXPECT_EQ(store.options().textSize, TextSize::Max);
    EXPECT_EQ(&selection.checkedEntry(category(WebSearch)), &site("Bing_kensaku"));
    EXPECT_EQ(selection.buttonHint(category(WebSearch)), u("Bing"));
    EXPECT_TRUE(problems.isEmpty());
}

TEST_F(UserSettingsTest, ProxyChoiceAsStored) {
    const struct {
        const char* choice;
        const char* address;
        bool used;
    } cases[] = {
        {"1", "127.0.0.1:3128", false},
        {"0", "", true}, // on with no address: kept as stored; the route ignores a blank address
        {"256", "127.0.0.1:3128", false},
    };
    for (const auto& c : cases) {
        QStringList lines = defaultLines();
        lines[34] = c.choice;
        lines[35] = c.address;
        writeSettingsFile(bytesFromLines(lines));
        user->loadSettings();
        EXPECT_EQ(store.options().useProxy(), c.used) << c.choice;
        EXPECT_EQ(store.options().proxyAddress, QString::fromLatin1(c.address)) << c.choice;
    }
}

// The settings file is read in whichever encoding its byte-order mark names.
// "00" is the decimal number 0: the proxy is on, and the file says "0" once written back.
TEST_F(UserSettingsTest, ProxyChoiceWrittenWithLeadingZerosIsOn) {
    QStringList lines = defaultLines();
    lines[34] = "00";
    lines[35] = "127.0.0.1:3128";
    const auto program = startWith(bytesFromLines(lines));
    EXPECT_TRUE(program->store.options().useProxy());
    program->user->saveSettings();
    lines[34] = "0";
    EXPECT_EQ(readAll(settingsPath), bytesFromLines(lines));
}

TEST_F(UserSettingsTest, ByteOrderMarksAndLineEnds) {
    QStringList lines = defaultLines();
    lines[0] = u("goo国語辞典");
    lines[21] = "False";
    const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    QByteArray utf16le("\xFF\xFE");
    for (QChar c : text)
        utf16le += char(c.unicode() & 0xFF), utf16le += char(c.unicode() >> 8);
    QByteArray utf16be("\xFE\xFF");
    for (QChar c : text)
        utf16be += char(c.unicode() >> 8), utf16be += char(c.unicode() & 0xFF);
    QByteArray mixedEnds;
    for (int i = 0; i < lines.size(); ++i)
        mixedEnds += lookup::toCodePage932(lines[i]) + (i % 3 == 0   ? "\r\n"
                                                        : i % 3 == 1 ? "\n"
                                                                     : "\r");

    const std::pair<const char*, QByteArray> files[] = {
        {"utf8", "\xEF\xBB\xBF" + text.toUtf8()},
        {"utf16le", utf16le},
        {"utf16be", utf16be},
        {"mixed_line_ends", mixedEnds},
    };
    for (const auto& [name, bytes] : files)
        EXPECT_EQ(startWith(bytes)->lines(), lines) << name;
}

TEST_F(UserSettingsTest, MarkerFileShowsTheHiddenSite) {
    const SiteEntry& alc = site("ALC_eiwa");
    user->loadSettings();
    EXPECT_FALSE(selection.entryVisible(alc));

    ASSERT_TRUE(QDir(markerFolder).mkdir(QStringLiteral("ALC.txt"))); // a folder is no marker
    user->loadSettings();
    EXPECT_FALSE(selection.entryVisible(alc));
    ASSERT_TRUE(QDir(markerFolder).rmdir(QStringLiteral("ALC.txt")));

    ASSERT_TRUE(writeAll(markerFolder + QStringLiteral("/ALC.txt"), {}));
    user->loadSettings(); // with no settings file at all
    EXPECT_TRUE(selection.entryVisible(alc));
    EXPECT_FALSE(selection.entryVisible(site("ALC_2_eiwa")));
    EXPECT_FALSE(selection.entryVisible(site("ALC_3_eiwa")));
}

TEST_F(UserSettingsTest, SavingWritesTheFileByteForByte) {
    user->loadSettings(); // no file: nothing to keep
    user->saveSettings(); // creates the folders, the documents folder too
    EXPECT_EQ(readAll(settingsPath), bytesFromLines(defaultLines()));

    selection.choose(site("Delphi_BBS"));
    store.setProxy(0, QStringLiteral("10.1.2.3:8080"));
    user->saveSettings();
    QStringList lines = defaultLines();
    lines[19] = u("Delphi Q&&A BBS");
    lines[34] = "0";
    lines[35] = "10.1.2.3:8080";
    EXPECT_EQ(readAll(settingsPath), bytesFromLines(lines));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"Lexorra2.ini"}));

    // A file from the Windows program read and written back without change: the same bytes.
    QStringList windows = defaultLines();
    windows[1] = u("アルク");
    windows[23] = "True";
    const QByteArray bytes = bytesFromLines(windows);
    const auto program = startWith(bytes);
    ASSERT_TRUE(QFile::remove(settingsPath));
    program->user->saveSettings();
    EXPECT_EQ(readAll(settingsPath), bytes);
}

// A file where the folder should be: the program goes on with its starting state, says so
// once, and leaves the file alone.
TEST_F(UserSettingsTest, FolderThatIsAFile) {
    ASSERT_TRUE(QDir().mkpath(documents));
    ASSERT_TRUE(writeAll(folder, "someone else's"));
    const Options before = store.options();
    user->loadSettings();
    user->loadCategoryVisibility();
    (void)user->storedCategoryVisibility();
    EXPECT_EQ(problems.size(), 1);
    EXPECT_EQ(store.options(), before);
    EXPECT_FALSE(selection.submenuVisible(category(EnglishJapanese2)));
    EXPECT_TRUE(selection.submenuVisible(category(EnglishEnglish)));

    user->saveSettings();
    EXPECT_EQ(problems.size(), 1); // saving does not even try
    EXPECT_EQ(readAll(folder), QByteArray("someone else's"));
    EXPECT_TRUE(QFileInfo(folder).isFile());
}

// A folder where the settings file should be: nothing in it is touched.
TEST_F(UserSettingsTest, SettingsFileThatIsAFolder) {
    ASSERT_TRUE(QDir().mkpath(settingsPath));
    ASSERT_TRUE(writeAll(settingsPath + QStringLiteral("/keep"), "kept"));
    user->loadSettings();
    EXPECT_EQ(problems.size(), 1);
    user->saveSettings();
    EXPECT_EQ(problems.size(), 1);
    EXPECT_TRUE(QFileInfo(settingsPath).isDir());
    EXPECT_EQ(readAll(settingsPath + QStringLiteral("/keep")), QByteArray("kept"));
}

// A write that fails half way (here: the file size limit of the process) leaves the previous
// file whole, leaves no temporary file behind, and is reported once.
TEST_F(UserSettingsTest, FailedWriteKeepsThePreviousFile) {
    QStringList old = defaultLines();
    old[0] = u("goo国語辞典");
    const QByteArray oldBytes = bytesFromLines(old);
    writeSettingsFile(oldBytes);
    user->loadSettings();

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = 100; // the file is about 700 bytes
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    user->saveSettings();
    user->saveSettings();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(problems.size(), 1);
    EXPECT_EQ(readAll(settingsPath), oldBytes);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({"Lexorra2.ini"}));
}

// Whatever the file holds, reading it ends, quickly, with every category holding one entry.
TEST_F(UserSettingsTest, LargeAndJunkFiles) {
    QByteArray valid = bytesFromLines(defaultLines());
    valid.replace(QByteArray("True\r\nTrue\r\nFalse"), QByteArray("True\r\nFalse\r\nTrue"));
    QByteArray validThenMegabytes = valid + QByteArray(5 * 1024 * 1024, 'x');
    QByteArray oneHugeLine(5 * 1024 * 1024, 'y');
    QByteArray manyLines;
    for (int i = 0; i < 500000; ++i)
        manyLines += "False\n";
    QByteArray random(256 * 1024, 0);
    QRandomGenerator generator(932);
    for (char& b : random)
        b = char(generator.bounded(256));

    const std::pair<const char*, QByteArray> files[] = {
        {"valid_then_megabytes", validThenMegabytes},
        {"one_huge_line", oneHugeLine},
        {"many_lines", manyLines},
        {"random", random},
    };
    for (const auto& [name, bytes] : files) {
        const auto program = startWith(bytes);
        const lookup::SiteSelection& fresh = program->selection;
        const OptionsStore& freshStore = program->store;
        EXPECT_EQ(program->lines().size(), 42) << name;
        if (std::string(name) == "valid_then_megabytes") {
            // The 42 lines come first: all of them count.
            EXPECT_FALSE(freshStore.options().bringForwardOnCopy);
            EXPECT_TRUE(freshStore.options().minimiseAtStart);
        }
        if (std::string(name) == "one_huge_line") {
            // A value like any other: it names no Site, and is the button's hint.
            EXPECT_EQ(fresh.buttonHint(category(JapaneseDictionary)).size(), oneHugeLine.size());
            EXPECT_EQ(&fresh.checkedEntry(category(JapaneseDictionary)), &site("yahoo2_kokugo"));
        }
        if (std::string(name) == "many_lines") {
            EXPECT_EQ(&fresh.checkedEntry(category(JapaneseDictionary)), &site("yahoo2_kokugo"));
        }
    }
}

// No line is too long to count: a long value takes its line's fallback (or is the proxy
// address), and every line after it is read as it stands.
TEST_F(UserSettingsTest, LongLinesCostNoOtherLine) {
    QStringList chosen = defaultLines();
    chosen[8] = u("Bing");
    chosen[21] = "False";
    chosen[23] = "True";
    chosen[32] = u("低い");
    chosen[36] = u("goo英和、和英");
    chosen[41] = u("coneco.net");
    const QString megabyte(1024 * 1024, u'a');
    const struct {
        const char* name;
        int longLine;
    } cases[] = {{"megabyte_line_0", 0}, {"megabyte_line_35", 35}};
    for (const auto& c : cases) {
        QStringList lines = chosen;
        lines[c.longLine] = megabyte;
        const auto program = startWith(bytesFromLines(lines));
        QStringList expected = lines;
        if (c.longLine == 0)
            expected[0] = defaultLines()[0]; // the fallback Site's name
        EXPECT_EQ(program->lines(), expected) << c.name;
        program->user->saveSettings();
        EXPECT_EQ(readAll(settingsPath), bytesFromLines(expected)) << c.name;
    }
}

// A file too large to be a settings file: nothing of it is applied, the user is told once,
// and the file stays as it is, at the end of the run too.
TEST_F(UserSettingsTest, FileTooLargeForSettingsIsLeftAlone) {
    QByteArray bytes = bytesFromLines(defaultLines());
    bytes += QByteArray(SettingsFolder::kReadLimit + 1 - bytes.size(), 'x');
    writeSettingsFile(bytes);
    const Options before = store.options();
    user->loadSettings();
    user->loadSettings();
    EXPECT_EQ(store.options(), before);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains(u("大きすぎます"))) << problems[0].toStdString();
    store.setProxy(0, QStringLiteral("10.0.0.1:8080"));
    user->saveSettings();
    EXPECT_EQ(readAll(settingsPath), bytes);

    // One byte less is a settings file: read whole and written back.
    bytes.chop(1);
    const auto program = startWith(bytes);
    EXPECT_EQ(program->lines(), defaultLines());
}

// The state holds the user's choices only once the file was read: a save before that (a close
// in the first second), or after a file that could not be read, writes nothing.
TEST_F(UserSettingsTest, NoSaveOverAFileThatWasNotRead) {
    QStringList lines = defaultLines();
    lines[0] = u("goo国語辞典");
    lines[26] = "True";
    const QByteArray bytes = bytesFromLines(lines);
    const struct {
        const char* name;
        std::function<void(UserSettings&)> beforeSave;
    } cases[] = {
        {"saved_before_read", [](UserSettings&) {}},
        // Every file descriptor in use: the file cannot be opened, for root too.
        {"no_descriptor_left_to_read",
         [](UserSettings& settings) {
             rlimit saved{};
             ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
             rlimit none = saved;
             none.rlim_cur = 0;
             ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
             settings.loadSettings();
             ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);
         }},
    };
    for (const auto& c : cases) {
        writeSettingsFile(bytes);
        makeSettings(1080);
        problems.clear();
        c.beforeSave(*user);
        store.setProxy(0, QStringLiteral("10.0.0.1:8080"));
        user->saveSettings();
        EXPECT_EQ(readAll(settingsPath), bytes) << c.name;
        EXPECT_EQ(problems.size(), std::string(c.name) == "saved_before_read" ? 0 : 1) << c.name;
    }
}

struct CategoryCase {
    const char* name;
    int screenHeight;
    int shown;
};

class CategoryDefaults : public UserSettingsTest,
                         public ::testing::WithParamInterface<CategoryCase> {};

TEST_P(CategoryDefaults, WithoutAFile) {
    makeSettings(GetParam().screenHeight);
    user->loadCategoryVisibility();
    int shown = 0;
    for (const LookupCategory& c : Catalogue::instance().categories())
        shown += selection.submenuVisible(c) ? 1 : 0;
    EXPECT_EQ(shown, GetParam().shown);
    for (lookup::CategoryId id : {EnglishJapanese2, EnglishJapanese3, EnglishEnglish2,
                                  EnglishEnglish3, Shopping2, Shopping3})
        EXPECT_FALSE(selection.submenuVisible(category(id))) << int(id);
    for (lookup::CategoryId id : {EnglishEnglish, Chinese, Korean})
        EXPECT_EQ(selection.submenuVisible(category(id)), GetParam().shown == 20) << int(id);
    // The dialog's ticks agree with the menu.
    const CategoryVisibility ticks = user->storedCategoryVisibility();
    for (int line = 0; line < CategoryVisibility::kLineCount; ++line)
        EXPECT_EQ(ticks.isShown(line),
                  selection.submenuVisible(CategoryVisibility::categoryOfLine(line)));
}

INSTANTIATE_TEST_SUITE_P(ScreenHeights, CategoryDefaults,
                         ::testing::Values(CategoryCase{"h1080", 1080, 20},
                                           CategoryCase{"h768", 768, 17},
                                           CategoryCase{"h720", 720, 20},
                                           CategoryCase{"h769", 769, 20}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UserSettingsTest, CategoryFileReadWrittenAndAppliedAtOnce) {
    ASSERT_TRUE(QDir().mkpath(folder));
    QStringList lines;
    for (int i = 0; i < 26; ++i)
        lines << (i % 2 ? "true" : "fales");
    lines[14] = "TRUE"; // only "true" counts
    ASSERT_TRUE(writeAll(categoryPath, bytesFromLines(lines)));
    user->loadCategoryVisibility();
    for (int line = 0; line < 26; ++line)
        EXPECT_EQ(selection.submenuVisible(CategoryVisibility::categoryOfLine(line)),
                  line % 2 == 1 && line != 14)
            << line;

    // Cut short: the missing lines keep their defaults.
    ASSERT_TRUE(writeAll(categoryPath, bytesFromLines({"fales", "fales"})));
    const CategoryVisibility shortFile = user->storedCategoryVisibility();
    EXPECT_FALSE(shortFile.isShown(0));
    EXPECT_FALSE(shortFile.isShown(1));
    for (int line = 2; line < 26; ++line)
        EXPECT_EQ(shortFile.isShown(line), CategoryVisibility::defaults(1080).isShown(line));

    // "閉じる": the file gets all 26 lines and the menu follows at once.
    CategoryVisibility ticks = CategoryVisibility::defaults(1080);
    ticks.setShown(14, false); // ショッピング
    ticks.setShown(15, true);  // ショッピング2
    user->saveCategoryVisibility(ticks);
    EXPECT_FALSE(selection.submenuVisible(category(Shopping)));
    EXPECT_TRUE(selection.submenuVisible(category(Shopping2)));
    EXPECT_TRUE(selection.buttonVisible(category(Shopping))); // buttons are not its business
    QStringList expected = ticks.toLines();
    EXPECT_EQ(expected[2], "fales");
    EXPECT_EQ(readAll(categoryPath), bytesFromLines(expected));
    EXPECT_EQ(user->storedCategoryVisibility(), ticks);
    EXPECT_TRUE(problems.isEmpty());
}

// The configuration file lives in the user's configuration folder unless told otherwise.
TEST_F(UserSettingsTest, ConfigFileInTheXdgConfigFolder) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("xdg")).toLocal8Bit());
    const UserSettings fresh(store, selection, documents, 1080);
    EXPECT_EQ(fresh.configFolder(), home.filePath(QStringLiteral("xdg/lexorra2")));
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
}

// Selecting to look up is kept in the configuration file: the settings file stays the
// 42 lines it was, byte for byte, and the next start reads the option back.
TEST_F(UserSettingsTest, ConfigFileKeepsWhatTheSettingsFileHasNoLineFor) {
    QStringList windows = defaultLines();
    windows[1] = u("アルク");
    const QByteArray settingsBytes = bytesFromLines(windows);
    writeSettingsFile(settingsBytes);
    ASSERT_TRUE(QDir().mkpath(configFolder));
    ASSERT_TRUE(writeAll(configPath, "# kept\nnewer=1\n"));
    user->loadSettings();
    EXPECT_FALSE(store.options().lookUpSelection);
    store.setSwitch(&Options::lookUpSelection, true);
    user->saveSettings();
    EXPECT_EQ(readAll(settingsPath), settingsBytes);
    EXPECT_EQ(readAll(configPath), QByteArray("# kept\nnewer=1\nlookUpSelection=true\n"));
    EXPECT_TRUE(problems.isEmpty());

    const auto program = startWith(settingsBytes);
    EXPECT_TRUE(program->store.options().lookUpSelection);
    EXPECT_EQ(program->lines(), windows);
}

// A configuration file that cannot be read, or holds no text, leaves the option off, is told
// of once and is never written over.
TEST_F(UserSettingsTest, BrokenConfigFileIsLeftAlone) {
    const struct {
        const char* name;
        std::function<void()> make;
        std::function<void(UserSettings&)> load;
    } cases[] = {
        {"not_utf8", [this] { ASSERT_TRUE(writeAll(configPath, "lookUpSelection=true\n\xff")); },
         [](UserSettings& settings) { settings.loadSettings(); }},
        {"a_folder",
         [this] {
             ASSERT_TRUE(QDir().mkpath(configPath));
             ASSERT_TRUE(writeAll(configPath + QStringLiteral("/keep"), "kept"));
         },
         [](UserSettings& settings) { settings.loadSettings(); }},
        {"no_descriptor_left_to_read",
         [this] { ASSERT_TRUE(writeAll(configPath, "lookUpSelection=true\n")); },
         [](UserSettings& settings) {
             rlimit saved{};
             ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
             rlimit none = saved;
             none.rlim_cur = 0;
             ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
             settings.loadSettings();
             ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);
         }},
        {"saved_before_read",
         [this] { ASSERT_TRUE(writeAll(configPath, "lookUpSelection=true\n")); },
         [](UserSettings&) {}},
    };
    for (const auto& c : cases) {
        QDir(configFolder).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(configFolder));
        c.make();
        const QByteArray before = readAll(configPath);
        store.setOptions(Options{});
        makeSettings(1080);
        problems.clear();
        c.load(*user);
        EXPECT_FALSE(store.options().lookUpSelection) << c.name;
        store.setSwitch(&Options::lookUpSelection, false);
        user->saveSettings();
        EXPECT_EQ(readAll(configPath), before) << c.name;
        EXPECT_EQ(problems.size(), std::string(c.name) == "saved_before_read" ? 0 : 1) << c.name;
    }
    EXPECT_TRUE(QFileInfo(configPath).isFile());
}
