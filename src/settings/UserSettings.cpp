#include "settings/UserSettings.h"

#include "lookup/Catalogue.h"
#include "lookup/SiteSelection.h"
#include "settings/ConfigLines.h"
#include "settings/LineText.h"
#include "settings/OptionsStore.h"
#include "settings/SettingsLines.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace settings {

UserSettings::UserSettings(OptionsStore& options, lookup::SiteSelection& selection,
                           const QString& documentsFolder, int screenHeight, QObject* parent)
    : QObject(parent), options_(options), selection_(selection), folder_(documentsFolder),
      configFolder_(SettingsFolder::at(
          QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
          QStringLiteral("/lexorra2"))),
      screenHeight_(screenHeight), markerFolder_(QDir::currentPath()) {}

void UserSettings::tellOnce(bool& told, const QString& message) {
    if (told)
        return;
    told = true;
    Q_EMIT problem(message);
}

std::optional<QStringList> UserSettings::readLines(const char* fileName, qsizetype maxLines) {
    const std::optional<QByteArray> bytes = readBytes(folder_, fileName);
    if (!bytes)
        return std::nullopt;
    return bytes->isEmpty() ? QStringList() : linesFromBytes(*bytes, maxLines);
}

std::optional<QByteArray> UserSettings::readBytes(const SettingsFolder& folder,
                                                  const char* fileName) {
    if (const QString problem = folder.folderProblem(); !problem.isEmpty()) {
        tellOnce(
            toldReadProblem_,
            QStringLiteral("設定を読み書きできません（%1）。標準の設定で続けます。").arg(problem));
        return std::nullopt;
    }
    const SettingsFolder::ReadResult result = folder.read(QString::fromLatin1(fileName));
    switch (result.status) {
    case SettingsFolder::ReadResult::Missing:
        return QByteArray();
    case SettingsFolder::ReadResult::Read:
        return result.bytes;
    case SettingsFolder::ReadResult::Failed:
        tellOnce(
            toldReadProblem_,
            QStringLiteral("設定を読めません（%1）。標準の設定で続け、ファイルはそのまま残します。")
                .arg(result.error));
        return std::nullopt;
    case SettingsFolder::ReadResult::TooLarge:
        tellOnce(
            toldReadProblem_,
            QStringLiteral("%1。標準の設定で続け、ファイルはそのまま残します。").arg(result.error));
        return std::nullopt;
    }
    return std::nullopt;
}

void UserSettings::loadSettings() {
    if (QFileInfo(QDir(markerFolder_).filePath(QLatin1StringView(kMarkerFileName))).isFile())
        selection_.setEntryVisible(
            *lookup::Catalogue::instance().siteByKey(QStringLiteral("ALC_eiwa")), true);

    loadConfig();
    const std::optional<QStringList> lines =
        readLines(kSettingsFileName, SettingsLines::kLineCount);
    settingsFileRead_ = lines.has_value();
    if (!lines || lines->isEmpty())
        return;
    Options options = options_.options();
    SettingsLines::read(*lines, options, selection_);
    options_.setOptions(options);

    // Minimising at start and the proxy follow the options; the priority is the process's
    // own and is asked for only when the file names one.
    if (lines->size() > SettingsLines::kPriorityLine)
        Q_EMIT priorityRequested(options.priority);
}

void UserSettings::loadConfig() {
    configBytes_ = readBytes(configFolder_, kConfigFileName);
    if (!configBytes_)
        return;
    const std::optional<Options> options = ConfigLines::read(*configBytes_, options_.options());
    if (!options) {
        configBytes_.reset();
        tellOnce(toldReadProblem_,
                 QStringLiteral("%1 は設定ファイルとして読めません。標準の設定で続け、ファイルは"
                                "そのまま残します。")
                     .arg(QDir::toNativeSeparators(
                         configFolder_.filePath(QString::fromLatin1(kConfigFileName)))));
        return;
    }
    options_.setOptions(*options);
}

void UserSettings::saveConfig() {
    // Unread, or unreadable, the file may hold choices the state does not.
    if (!configBytes_)
        return;
    const QByteArray bytes = ConfigLines::write(*configBytes_, options_.options());
    const QString error = configFolder_.write(QString::fromLatin1(kConfigFileName), bytes);
    if (!error.isEmpty())
        tellOnce(toldSaveProblem_, QStringLiteral("設定を保存できませんでした（%1）。").arg(error));
    else
        configBytes_ = bytes;
}

void UserSettings::saveSettings() {
    saveConfig();
    // Before the file was read, or when it could not be read, the state holds none of the
    // user's choices: writing it would put the defaults over them.
    if (!settingsFileRead_)
        return;
    const QStringList lines = SettingsLines::write(options_.options(), selection_);
    const QString error =
        folder_.write(QString::fromLatin1(kSettingsFileName), bytesFromLines(lines));
    if (!error.isEmpty())
        tellOnce(toldSaveProblem_, QStringLiteral("設定を保存できませんでした（%1）。").arg(error));
}

CategoryVisibility UserSettings::storedCategoryVisibility() {
    const std::optional<QStringList> lines =
        readLines(kCategoryFileName, CategoryVisibility::kLineCount);
    return !lines || lines->isEmpty() ? CategoryVisibility::defaults(screenHeight_)
                                      : CategoryVisibility::fromLines(*lines, screenHeight_);
}

void UserSettings::loadCategoryVisibility() {
    applyCategoryVisibility(storedCategoryVisibility());
}

void UserSettings::applyCategoryVisibility(const CategoryVisibility& visibility) {
    for (int line = 0; line < CategoryVisibility::kLineCount; ++line)
        selection_.setSubmenuVisible(CategoryVisibility::categoryOfLine(line),
                                     visibility.isShown(line));
}

void UserSettings::saveCategoryVisibility(const CategoryVisibility& visibility) {
    const QString error =
        folder_.write(QString::fromLatin1(kCategoryFileName), bytesFromLines(visibility.toLines()));
    if (!error.isEmpty())
        Q_EMIT problem(QStringLiteral("辞書の表示を保存できませんでした（%1）。").arg(error));
    applyCategoryVisibility(visibility);
}

} // namespace settings
