#include "settings/UserSettings.h"

#include "lookup/Catalogue.h"
#include "lookup/SiteSelection.h"
#include "settings/LineText.h"
#include "settings/OptionsStore.h"
#include "settings/SettingsLines.h"

#include <QDir>
#include <QFileInfo>

namespace settings {

UserSettings::UserSettings(OptionsStore& options, lookup::SiteSelection& selection,
                           const QString& documentsFolder, int screenHeight, QObject* parent)
    : QObject(parent), options_(options), selection_(selection), folder_(documentsFolder),
      screenHeight_(screenHeight), markerFolder_(QDir::currentPath()) {}

void UserSettings::tellOnce(bool& told, const QString& message) {
    if (told)
        return;
    told = true;
    Q_EMIT problem(message);
}

QStringList UserSettings::readLines(const char* fileName, qsizetype maxLines) {
    if (const QString problem = folder_.folderProblem(); !problem.isEmpty()) {
        tellOnce(
            toldReadProblem_,
            QStringLiteral("設定を読み書きできません（%1）。標準の設定で続けます。").arg(problem));
        return {};
    }
    const SettingsFolder::ReadResult result = folder_.read(QString::fromLatin1(fileName));
    if (result.status == SettingsFolder::ReadResult::Failed) {
        tellOnce(
            toldReadProblem_,
            QStringLiteral("設定を読めません（%1）。標準の設定で続けます。").arg(result.error));
        return {};
    }
    QStringList lines = linesFromBytes(result.bytes, maxLines + 1);
    // A file longer than any settings file was cut while read: its last line may be partial.
    if (result.cut && !lines.isEmpty())
        lines.removeLast();
    if (lines.size() > maxLines)
        lines.resize(maxLines);
    return lines;
}

void UserSettings::loadSettings() {
    if (QFileInfo(QDir(markerFolder_).filePath(QLatin1StringView(kMarkerFileName))).isFile())
        selection_.setEntryVisible(
            *lookup::Catalogue::instance().siteByKey(QStringLiteral("ALC_eiwa")), true);

    const QStringList lines = readLines(kSettingsFileName, SettingsLines::kLineCount);
    if (lines.isEmpty())
        return;
    Options options = options_.options();
    SettingsLines::read(lines, options, selection_);
    options_.setOptions(options);

    // Minimising at start and the proxy follow the options; the priority is the process's
    // own and is asked for only when the file names one.
    if (lines.size() > SettingsLines::kPriorityLine)
        Q_EMIT priorityRequested(options.priority);
}

void UserSettings::saveSettings() {
    const QStringList lines = SettingsLines::write(options_.options(), selection_);
    const QString error =
        folder_.write(QString::fromLatin1(kSettingsFileName), bytesFromLines(lines));
    if (!error.isEmpty())
        tellOnce(toldSaveProblem_, QStringLiteral("設定を保存できませんでした（%1）。").arg(error));
}

CategoryVisibility UserSettings::storedCategoryVisibility() {
    const QStringList lines = readLines(kCategoryFileName, CategoryVisibility::kLineCount);
    return lines.isEmpty() ? CategoryVisibility::defaults(screenHeight_)
                           : CategoryVisibility::fromLines(lines, screenHeight_);
}

void UserSettings::loadCategoryVisibility() {
    applyCategoryVisibility(storedCategoryVisibility());
}

void UserSettings::applyCategoryVisibility(const CategoryVisibility& visibility) {
    for (int line = 0; line < CategoryVisibility::kLineCount; ++line)
        selection_.setSubmenuVisible(CategoryVisibility::slotOfLine(line),
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
