#include "settings/LineText.h"

#include "lookup/CodePage932.h"
#include "settings/CodePage932Decoder.h"

#include <QStringDecoder>

namespace settings {

namespace {

QString decode(QByteArrayView bytes) {
    auto decodeAs = [](QStringDecoder::Encoding encoding, QByteArrayView rest) {
        QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
        return QString(decoder.decode(rest));
    };
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return decodeAs(QStringDecoder::Utf8, bytes.sliced(3));
    if (bytes.startsWith("\xFF\xFE"))
        return decodeAs(QStringDecoder::Utf16LE, bytes.sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return decodeAs(QStringDecoder::Utf16BE, bytes.sliced(2));
    return fromCodePage932(bytes);
}

} // namespace

QStringList linesFromBytes(QByteArrayView bytes, qsizetype maxLines) {
    const QString text = decode(bytes);
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size && lines.size() < maxLines) {
        qsizetype end = start;
        while (end < size && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        lines << text.sliced(start, end - start);
        if (end < size && text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

QByteArray bytesFromLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        QByteArray encoded = lookup::toCodePage932(line);
        // Code page 932 never uses these bytes inside a double-byte character.
        encoded.replace('\r', ' ').replace('\n', ' ');
        bytes += encoded;
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace settings
