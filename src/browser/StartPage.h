#pragma once

#include <QByteArray>
#include <QString>

class QWebEngineProfile;

namespace browser {

// The start page travels inside the program and is served through a URL scheme of its own,
// so that it shows without a network.

inline constexpr char kStartPageScheme[] = "lexorra2";
inline constexpr char kStartPagePath[] = "/Lexorra2pro_LOGO.html";

// The address of the start page.
QString startPageUrl();
// newTabPageUrl: the page a new tab opens (Google web search for Japan).
QString newTabPageUrl();

// Makes the scheme known to the engine. Must run before the QApplication is created.
void registerStartPageScheme();
// Serves the start page to every browser of the profile (null: the default profile).
void installStartPage(QWebEngineProfile* profile = nullptr);

// The page as served.
QByteArray startPageHtml();

} // namespace browser
