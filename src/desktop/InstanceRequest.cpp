#include "desktop/InstanceRequest.h"

#include <QStringDecoder>

namespace desktop {

namespace {

constexpr char kComeForward[] = "come-forward\n";
constexpr char kTogglePause[] = "toggle-pause\n";
constexpr char kLookUpPrefix[] = "look-up ";

} // namespace

QString InstanceRequest::whyNotLookUpText(const QString& text) {
    if (text.trimmed().isEmpty())
        return QStringLiteral("There is no text to look up.");
    if (text.toUtf8().size() > kMaxTextBytes)
        return QStringLiteral("The text to look up is longer than %1 bytes.").arg(kMaxTextBytes);
    return {};
}

QByteArray InstanceRequest::encoded() const {
    switch (kind) {
    case Kind::ComeForward:
        return kComeForward;
    case Kind::TogglePause:
        return kTogglePause;
    case Kind::LookUp:
        break;
    }
    return kLookUpPrefix + text.toUtf8().toBase64() + '\n';
}

std::optional<InstanceRequest> InstanceRequest::decode(const QByteArray& line) {
    if (line.size() > kMaxLineBytes || !line.endsWith('\n'))
        return std::nullopt;
    if (line == kComeForward)
        return comeForward();
    if (line == kTogglePause)
        return togglePause();
    if (!line.startsWith(kLookUpPrefix))
        return std::nullopt;
    const QByteArray encodedText = line.mid(sizeof(kLookUpPrefix) - 1).chopped(1);
    const QByteArray::FromBase64Result utf8 =
        QByteArray::fromBase64Encoding(encodedText, QByteArray::AbortOnBase64DecodingErrors);
    if (!utf8)
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(*utf8);
    if (decoder.hasError() || !whyNotLookUpText(text).isEmpty())
        return std::nullopt;
    return lookUp(text);
}

} // namespace desktop
