#pragma once

#include "settings/CategoryVisibility.h"
#include "settings/Options.h"
#include "settings/SettingsFolder.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

namespace lookup {
class SiteSelection;
} // namespace lookup

namespace settings {

class OptionsStore;

// Carries the user's choices from one run to the next: reads the settings file and the
// category-visibility file into the options and the site selection at start, writes them back.
// What reading sets going outside that state (minimising, the process priority, the proxy) is
// asked for through signals, which the window connects to whoever does it.
class UserSettings : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kSettingsFileName = "Lexorra2.ini";
    static constexpr const char* kCategoryFileName = "jisyo2.ini";
    // The program's own configuration file (ConfigLines), in configFolder().
    static constexpr const char* kConfigFileName = "lexorra2.conf";
    // Its presence in the current folder shows the hidden English-Japanese Site in its menu.
    static constexpr const char* kMarkerFileName = "ALC.txt";

    // documentsFolder: the user's documents folder (empty when unknown); screenHeight: the
    // primary screen's height, which chooses the default category visibility.
    UserSettings(OptionsStore& options, lookup::SiteSelection& selection,
                 const QString& documentsFolder, int screenHeight, QObject* parent = nullptr);

    // Where the marker file is looked for; the process's current folder unless set.
    void setMarkerFolder(const QString& folder) { markerFolder_ = folder; }
    // Where the configuration file lives: "lexorra2" in the user's configuration folder
    // ($XDG_CONFIG_HOME) unless set.
    void setConfigFolder(const QString& folder) { configFolder_ = SettingsFolder::at(folder); }
    QString configFolder() const { return configFolder_.path(); }

    // Reads the settings file and the configuration file and puts them in force. Without a
    // file the state stays as it is; a file that cannot be read, or is too large to be a
    // settings file, is reported and the state stays as it is too.
    void loadSettings();
    // Writes both files from the current state; a failure is reported once per run. Each only
    // once it was read (or found missing): before that, and after a file that could not be
    // read, the file is left as it is.
    void saveSettings();

    // Applies the category-visibility file, or its defaults when there is none.
    void loadCategoryVisibility();
    // What the file says (or the defaults), for the add/remove dialog's ticks.
    CategoryVisibility storedCategoryVisibility();
    // The dialog's "閉じる": writes the file and shows and hides the submenus at once.
    void saveCategoryVisibility(const CategoryVisibility& visibility);

Q_SIGNALS:
    // The stored priority, to be applied to the process.
    void priorityRequested(settings::ProcessPriority priority);
    // Something the user should know about: settings that could not be read or saved.
    void problem(const QString& message);

private:
    // Lines of a file (none when it is missing), or nullopt when it could not be read.
    std::optional<QStringList> readLines(const char* fileName, qsizetype maxLines);
    // The whole file, empty when it is missing, or nullopt when it could not be read.
    std::optional<QByteArray> readBytes(const SettingsFolder& folder, const char* fileName);
    void loadConfig();
    void saveConfig();
    void tellOnce(bool& told, const QString& message);
    void applyCategoryVisibility(const CategoryVisibility& visibility);

    OptionsStore& options_;
    lookup::SiteSelection& selection_;
    SettingsFolder folder_;
    SettingsFolder configFolder_;
    // The configuration file as read: what the program does not know of it is written back.
    std::optional<QByteArray> configBytes_;
    int screenHeight_;
    QString markerFolder_;
    bool settingsFileRead_ = false;
    bool toldReadProblem_ = false;
    bool toldSaveProblem_ = false;
};

} // namespace settings
