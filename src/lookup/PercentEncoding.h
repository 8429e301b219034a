#pragma once

#include <QByteArray>
#include <QString>

namespace lookup {

// The bytes that percent-encoding leaves as they are.
constexpr bool staysUnescaped(unsigned char b) {
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '!' ||
           b == '$' || b == '\'' || b == '(' || b == ')' || b == '*' || b == '-' || b == '.' ||
           b == '@' || b == '_';
}

// Percent-encoding of a byte string as query sites expect it: letters, digits and
// ! $ ' ( ) * - . @ _ stay, a space becomes '+', every other byte becomes %XX (upper-case
// hex). Stops at the end of the input or at its first zero byte.
QByteArray percentEncode(const QByteArray& bytes);

// The same encoding, written straight into a string (the result is ASCII).
QString percentEncodeToString(const QByteArray& bytes);

} // namespace lookup
