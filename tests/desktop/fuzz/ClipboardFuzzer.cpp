// libFuzzer target: a clipboard owner's offer, any list of formats and any bytes. The plan
// must take only formats offered, plain text before HTML and HTML never beside a picture; a
// file list is local only when it names a file: URL; decoded text never ends in a NUL and
// keeps every other character; the words of HTML are trimmed and hold no picture.
#include "desktop/ClipboardReadPlan.h"

#include <QGuiApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

using namespace desktop;

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "clipboard fuzzer: %s\n", what);
        std::abort();
    }
}

const char* const kKnownFormats[] = {
    "UTF8_STRING",
    "text/plain;charset=utf-8",
    "text/plain",
    "STRING",
    "TEXT",
    "text/html",
    "text/html;charset=utf-8",
    "text/uri-list",
    "x-special/gnome-copied-files",
    "image/png",
    "PIXMAP",
    "TARGETS",
    "application/x-qt-image",
    "text/plain;charset=UTF-8",
    "BITMAP",
};

QStringList offeredFormats(FuzzedDataProvider& input) {
    QStringList formats;
    const int count = input.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < count; ++i) {
        if (input.ConsumeBool())
            formats << QString::fromLatin1(input.PickValueInArray(kKnownFormats));
        else
            formats << QString::fromStdString(input.ConsumeRandomLengthString(40));
    }
    return formats;
}

bool isPlainText(const QString& format) {
    return format == u"UTF8_STRING" || format == u"STRING" || format.startsWith(u"text/plain");
}

void checkPlan(const QStringList& formats) {
    const ClipboardReadPlan plan = ClipboardReadPlan::forFormats(formats);
    require(plan.textFormat.isEmpty() || formats.contains(plan.textFormat),
            "a text format not offered");
    require(plan.fileListFormat.isEmpty() || formats.contains(plan.fileListFormat),
            "a file list format not offered");
    require(!plan.textIsHtml || plan.textFormat.startsWith(u"text/html"),
            "HTML read from another format");
    if (plan.textIsHtml) {
        for (const QString& format : formats) {
            require(!isPlainText(format), "HTML read although plain text is offered");
            require(!format.startsWith(u"image/") && format != u"PIXMAP",
                    "HTML read beside a picture");
        }
    }
}

void checkText(const QByteArray& data) {
    QByteArray withoutNuls = data;
    while (withoutNuls.endsWith('\0'))
        withoutNuls.chop(1);
    for (const char* format : {"STRING", "UTF8_STRING", "text/html"}) {
        const QString text = decodeClipboardText(data, QString::fromLatin1(format));
        require(!text.endsWith(QChar(u'\0')), "decoded text ends in a NUL");
        if (format == QByteArrayView("STRING"))
            require(text == QString::fromLatin1(withoutNuls), "Latin-1 text changed");
        const QString words = plainTextOfHtml(text);
        require(!words.contains(QChar::ObjectReplacementCharacter), "a picture in the words");
        require(words == words.trimmed(), "the words are not trimmed");
    }
    if (isLocalFileList(data))
        require(data.toLower().contains("file:"), "a local file list without a file: URL");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The HTML's layout needs a GUI application; none is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    checkPlan(offeredFormats(input));
    const std::string rest = input.ConsumeRemainingBytesAsString();
    checkText(QByteArray(rest.data(), qsizetype(rest.size())));
    return 0;
}
