#pragma once

#include <QByteArray>
#include <QString>

namespace lookup {

// Percent-encoding of a byte string as query sites expect it: letters, digits and
// ! $ ' ( ) * - . @ _ stay, a space becomes '+', every other byte becomes %XX (upper-case
// hex). Stops at the end of the input or at its first zero byte.
QByteArray HTTPEncode(const QByteArray& bytes);

// The same encoding, written straight into a string (the result is ASCII).
QString HTTPEncodeToString(const QByteArray& bytes);

} // namespace lookup
