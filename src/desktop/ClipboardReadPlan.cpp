#include "desktop/ClipboardReadPlan.h"

#include <QStringDecoder>
#include <QTextDocumentFragment>
#include <QUrl>
#include <algorithm>

namespace desktop {

namespace {

// Plain-text formats, best first: the ones that name their encoding before the ones that
// leave it to convention.
const char* const kPlainTextFormats[] = {
    "UTF8_STRING", "text/plain;charset=utf-8", "text/plain;charset=UTF-8", "text/plain", "STRING",
};

const char* const kHtmlFormats[] = {"text/html", "text/html;charset=utf-8"};

const char* const kFileListFormats[] = {"text/uri-list", "x-special/gnome-copied-files"};

bool isImage(const QString& format) {
    return format.startsWith(QLatin1StringView("image/")) ||
           format == QLatin1StringView("PIXMAP") || format == QLatin1StringView("BITMAP") ||
           format == QLatin1StringView("application/x-qt-image");
}

template <size_t N>
QString firstOffered(const char* const (&wanted)[N], const QStringList& formats) {
    for (const char* name : wanted) {
        const QString format = QString::fromLatin1(name);
        if (formats.contains(format))
            return format;
    }
    return {};
}

} // namespace

ClipboardReadPlan ClipboardReadPlan::forFormats(const QStringList& formats) {
    ClipboardReadPlan plan;
    plan.fileListFormat = firstOffered(kFileListFormats, formats);
    plan.textFormat = firstOffered(kPlainTextFormats, formats);
    if (plan.textFormat.isEmpty() && std::none_of(formats.begin(), formats.end(), isImage)) {
        plan.textFormat = firstOffered(kHtmlFormats, formats);
        plan.textIsHtml = !plan.textFormat.isEmpty();
    }
    return plan;
}

bool isLocalFileList(const QByteArray& uriList) {
    bool any = false;
    // x-special/gnome-copied-files starts with the operation ("copy" or "cut") on a line of
    // its own; it is no URL and says nothing about what was copied.
    for (const QByteArray& raw : uriList.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#') || line == "copy" || line == "cut")
            continue;
        const QUrl url(QString::fromUtf8(line), QUrl::StrictMode);
        if (!url.isValid() || !url.isLocalFile())
            return false;
        any = true;
    }
    return any;
}

QString decodeClipboardText(const QByteArray& data, const QString& format) {
    QString text;
    if (format == QLatin1StringView("STRING")) {
        text = QString::fromLatin1(data);
    } else if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(QStringConverter::Utf16);
        text = decoder.decode(data);
    } else {
        text = QString::fromUtf8(data.startsWith("\xEF\xBB\xBF") ? data.mid(3) : data);
    }
    // Some owners count the terminating NUL of a C string as part of the text.
    while (text.endsWith(QChar(u'\0')))
        text.chop(1);
    return text;
}

QString plainTextOfHtml(const QString& html) {
    // A picture becomes an object replacement character.
    return QTextDocumentFragment::fromHtml(html)
        .toPlainText()
        .remove(QChar::ObjectReplacementCharacter)
        .trimmed();
}

} // namespace desktop
