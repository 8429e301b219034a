#pragma once

#include <QByteArray>
#include <QString>

namespace settings {

// The folder "Lexorra2" below the user's documents folder, where both settings files live (or
// another folder of the program's, through at()), and the reading and writing of whole files
// in it.
class SettingsFolder {
public:
    // No settings file comes near this, however long its lines: a larger file is no settings
    // file, and reading stops here so that it costs neither time nor memory.
    static constexpr qint64 kReadLimit = 16 * 1024 * 1024;

    explicit SettingsFolder(const QString& documentsFolder);
    // The folder `path` itself.
    static SettingsFolder at(const QString& path);

    QString path() const { return path_; }
    QString filePath(const QString& fileName) const;

    struct ReadResult {
        enum Status { Missing, Read, Failed, TooLarge };
        Status status = Missing;
        QByteArray bytes;
        QString error; // why it failed or was refused, for the user
    };
    // The whole file, or TooLarge (and no bytes) when it holds more than kReadLimit bytes.
    ReadResult read(const QString& fileName) const;

    // Creates the folder (with its parents) when missing and replaces the file whole. The new
    // content goes to a temporary file that is renamed over the old one only once it is
    // complete, so a failed or interrupted write leaves the previous file as it was. Never
    // removes or replaces anything that is not a file of ours: a file where the folder should
    // be, or a folder where a settings file should be, makes the write fail. Returns why it
    // failed, or an empty string.
    QString write(const QString& fileName, const QByteArray& bytes) const;

    // Why the folder cannot hold settings (a file in its place, say), or an empty string.
    QString folderProblem() const;

private:
    QString path_;
};

} // namespace settings
