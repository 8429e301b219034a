#pragma once

#include <QByteArray>
#include <QString>

namespace lookup {

// Percent-encoding of a byte string as query sites expect it (see percentEscape), written
// straight into a string: the result is ASCII. Stops at the end of the input or at its
// first zero byte.
QString percentEncodeToString(const QByteArray& bytes);

} // namespace lookup
