#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Every window writes its settings when it goes and reads them when it starts, and looks up
// what the clipboard holds: each test starts from an empty documents folder, no configuration
// file and an empty clipboard, so that none sees what another one chose or copied.
class FreshStart : public ::testing::EmptyTestEventListener {
public:
    explicit FreshStart(QString home) : home_(std::move(home)) {}
    void OnTestStart(const ::testing::TestInfo&) override {
        QDir(home_ + QStringLiteral("/Documents")).removeRecursively();
        QDir(home_ + QStringLiteral("/.config/lexorra2")).removeRecursively();
        QGuiApplication::clipboard()->clear();
        QCoreApplication::processEvents();
    }

private:
    QString home_;
};

} // namespace

// Widget tests need one application object for the whole run; they draw nowhere. The windows
// they make read and write their settings files in a home folder of the run's own, never in
// the user's documents folder.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", APP_TESTS_PLATFORM);
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStart(home.path()));
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
