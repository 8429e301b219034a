#include "desktop/DocumentsFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace desktop {

QString documentsFolder() {
    QString path = QDir::fromNativeSeparators(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    // The root folder keeps its one separator: an empty path would mean "unknown".
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace desktop
