#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

namespace settings {

// The two settings files are plain lists of lines whose meaning is their number.

// Reads at most maxLines lines. A UTF-8 or UTF-16 byte-order mark selects that encoding (and is
// not part of the first line); otherwise the bytes are code page 932. A line ends at CR LF, LF
// or CR; the end of the last line may be missing, and a final line end starts no further line.
QStringList linesFromBytes(QByteArrayView bytes, qsizetype maxLines);

// Each line in code page 932 followed by CR LF. A CR or LF inside a value (only the proxy
// address is free text) is written as a space, so that it can never shift the lines after it.
QByteArray bytesFromLines(const QStringList& lines);

} // namespace settings
