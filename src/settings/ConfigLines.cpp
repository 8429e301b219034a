#include "settings/ConfigLines.h"

#include <QList>
#include <QStringDecoder>

namespace settings {

namespace {

constexpr QByteArrayView kTrue = "true";
constexpr QByteArrayView kFalse = "false";

QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the end of the last line, not a line of its own
    for (QByteArray& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

// The known option a line sets, or nullptr.
const ConfigSwitch* switchOf(const QByteArray& line, QByteArray* value) {
    const qsizetype equals = line.indexOf('=');
    if (equals < 0 || line.trimmed().startsWith('#'))
        return nullptr;
    const QByteArray key = line.left(equals).trimmed();
    for (const ConfigSwitch& stored : kConfigSwitches) {
        if (key == stored.key) {
            if (value)
                *value = line.mid(equals + 1).trimmed();
            return &stored;
        }
    }
    return nullptr;
}

QByteArray lineOf(const ConfigSwitch& stored, const Options& options) {
    return QByteArray(stored.key) + '=' +
           (options.*stored.option.member ? kTrue : kFalse).toByteArray();
}

} // namespace

std::optional<Options> ConfigLines::read(const QByteArray& bytes, const Options& options) {
    if (bytes.contains('\0'))
        return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8);
    (void)QString(utf8.decode(bytes));
    if (utf8.hasError())
        return std::nullopt;
    Options read = options;
    for (const QByteArray& line : linesOf(bytes)) {
        QByteArray value;
        if (const ConfigSwitch* stored = switchOf(line, &value)) {
            if (value == kTrue)
                read.*stored->option.member = true;
            else if (value == kFalse)
                read.*stored->option.member = false;
        }
    }
    return read;
}

QByteArray ConfigLines::write(const QByteArray& previous, const Options& options) {
    QList<QByteArray> lines = linesOf(previous);
    QList<const ConfigSwitch*> written;
    for (QByteArray& line : lines) {
        if (const ConfigSwitch* stored = switchOf(line, nullptr)) {
            line = lineOf(*stored, options);
            written.append(stored);
        }
    }
    for (const ConfigSwitch& stored : kConfigSwitches)
        if (!written.contains(&stored))
            lines.append(lineOf(stored, options));
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + '\n';
    return bytes;
}

} // namespace settings
