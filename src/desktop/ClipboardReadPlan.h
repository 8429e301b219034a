#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace desktop {

// What to read from a clipboard, decided from the formats its owner offers (X11 target names
// and MIME types, as the owner lists them): only text is a word to look up.
//
// - Plain text is read as it is, in the best encoding offered.
// - Rich text (HTML) offered without plain text is read and turned into its plain text.
// - Files copied in a file manager come as a list of file:// URLs, with their paths as plain
//   text beside it: when a URL list is offered it is read first, and a list of nothing but
//   local files is not a word.
// - A picture is not a word, not even through the HTML (an <img> element) that browsers
//   offer with it.
struct ClipboardReadPlan {
    // The URL list to check before the text; empty when none is offered.
    QString fileListFormat;
    // The format to take the text from; empty when nothing offered is text.
    QString textFormat;
    // The text format is HTML and must be turned into plain text.
    bool textIsHtml = false;

    static ClipboardReadPlan forFormats(const QStringList& formats);
};

// True when `uriList` (text/uri-list: one URL a line, '#' lines are comments) names at least
// one URL and every one of them is a local file (file://).
bool isLocalFileList(const QByteArray& uriList);

// The text of `data` read in `format`: UTF-8 for UTF8_STRING and the text/ types (UTF-16 when
// the data starts with a byte-order mark, as some browsers write HTML), ISO 8859-1 for STRING;
// a terminating NUL is dropped.
QString decodeClipboardText(const QByteArray& data, const QString& format);

// The words of copied HTML: its plain text, trimmed. A picture in it is no word (empty when
// the HTML holds nothing else).
QString plainTextOfHtml(const QString& html);

} // namespace desktop
