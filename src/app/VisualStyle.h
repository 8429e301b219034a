#pragma once

#include <QString>

class QApplication;

namespace app {

// The program's look, "Dodad": a style sheet carried in the program's resources.
inline constexpr const char* kVisualStyleName = "Dodad";

// Resource path of a named style sheet.
QString styleSheetPath(const QString& name);

// Reads the style sheet at path and applies it to the whole application. On failure the
// application keeps its previous look and the reason is returned; on success the result is
// empty. A sheet that cannot be read, is empty or does not parse is a failure.
QString applyStyleSheet(QApplication& application, const QString& path);

// Applies the named style; when that fails, shows the reason in a message box and returns,
// so that start-up goes on with the platform's default look.
void applyVisualStyleOrReport(QApplication& application, const QString& name);

} // namespace app
