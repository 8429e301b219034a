#include "desktop/InstanceRequest.h"

#include <QStringDecoder>
#include <algorithm>

namespace desktop {

namespace {

constexpr char kComeForward[] = "come-forward\n";
constexpr char kComeForwardPrefix[] = "come-forward ";
constexpr char kTogglePause[] = "toggle-pause\n";
constexpr char kLookUpPrefix[] = "look-up ";

bool isActivationToken(QByteArrayView token) {
    if (token.isEmpty() || token.size() > InstanceRequest::kMaxActivationTokenBytes)
        return false;
    return std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c < 0x7f; });
}

} // namespace

InstanceRequest InstanceRequest::comeForward(const QByteArray& token) {
    return {Kind::ComeForward, isActivationToken(token) ? QString::fromLatin1(token) : QString()};
}

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
        return text.isEmpty() ? QByteArray(kComeForward)
                              : kComeForwardPrefix + text.toLatin1() + '\n';
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
    if (line.startsWith(kComeForwardPrefix)) {
        const QByteArray token = line.mid(sizeof(kComeForwardPrefix) - 1).chopped(1);
        if (!isActivationToken(token))
            return std::nullopt;
        return comeForward(token);
    }
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
