#pragma once

// Plain conversions to byte strings that the one-pass query encoder (encodeQueryText) must
// match byte for byte. The program does not call them: the unit tests check the encoder
// against them and the encoder benchmark measures it against them.

#include <QByteArray>
#include <QStringView>

namespace lookup {

// UTF-8 as the Windows converter writes it; an unpaired surrogate becomes U+FFFD.
QByteArray toUtf8(QStringView text);

// percentEncodeToString's result as bytes.
QByteArray percentEncode(const QByteArray& bytes);

} // namespace lookup
