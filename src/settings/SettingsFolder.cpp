#include "settings/SettingsFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace settings {

SettingsFolder::SettingsFolder(const QString& documentsFolder)
    : path_(documentsFolder.isEmpty() ? QString() : documentsFolder + QStringLiteral("/Lexorra2")) {
}

SettingsFolder SettingsFolder::at(const QString& path) {
    SettingsFolder folder{QString()};
    folder.path_ = path;
    return folder;
}

QString SettingsFolder::filePath(const QString& fileName) const {
    return path_ + u'/' + fileName;
}

QString SettingsFolder::folderProblem() const {
    if (path_.isEmpty())
        return QStringLiteral("ドキュメントフォルダが見つかりません");
    const QFileInfo folder(path_);
    if (folder.exists() && !folder.isDir())
        return QStringLiteral("%1 はフォルダではありません").arg(QDir::toNativeSeparators(path_));
    return {};
}

SettingsFolder::ReadResult SettingsFolder::read(const QString& fileName) const {
    if (path_.isEmpty())
        return {};
    const QString path = filePath(fileName);
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (!info.isFile())
        return {ReadResult::Failed,
                {},
                QStringLiteral("%1 はファイルではありません").arg(QDir::toNativeSeparators(path))};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {ReadResult::Failed,
                {},
                QStringLiteral("%1 を読めません: %2")
                    .arg(QDir::toNativeSeparators(path), file.errorString())};
    // In pieces: a settings file is small, and a buffer for the largest one is not made for it.
    constexpr qint64 kPiece = 64 * 1024;
    QByteArray bytes;
    while (bytes.size() <= kReadLimit) {
        const QByteArray piece = file.read(std::min(kPiece, kReadLimit + 1 - bytes.size()));
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (file.error() != QFileDevice::NoError)
        return {ReadResult::Failed,
                {},
                QStringLiteral("%1 を読めません: %2")
                    .arg(QDir::toNativeSeparators(path), file.errorString())};
    if (bytes.size() > kReadLimit)
        return {ReadResult::TooLarge,
                {},
                QStringLiteral("%1 は設定ファイルにしては大きすぎます（%2 MiB を超えています）")
                    .arg(QDir::toNativeSeparators(path))
                    .arg(kReadLimit / (1024 * 1024))};
    return {ReadResult::Read, bytes, {}};
}

QString SettingsFolder::write(const QString& fileName, const QByteArray& bytes) const {
    if (QString problem = folderProblem(); !problem.isEmpty())
        return problem;
    if (!QDir().mkpath(path_))
        return QStringLiteral("フォルダ %1 を作れません").arg(QDir::toNativeSeparators(path_));
    const QString path = filePath(fileName);
    if (const QFileInfo info(path); info.exists() && !info.isFile())
        return QStringLiteral("%1 はファイルではありません").arg(QDir::toNativeSeparators(path));
    QSaveFile file(path);
    // Unbuffered: a buffered QSaveFile (Qt 6.4) commits a file that the system cut short (a
    // full disk, a size limit) and reports success; written directly, the short count shows.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return QStringLiteral("%1 に書けません: %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QStringLiteral("書き込みが途中で止まりました");
        file.cancelWriting();
        return QStringLiteral("%1 に書けません: %2").arg(QDir::toNativeSeparators(path), reason);
    }
    if (!file.commit())
        return QStringLiteral("%1 に書けません: %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}

} // namespace settings
