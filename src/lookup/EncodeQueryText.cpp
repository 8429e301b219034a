#include "lookup/EncodeQueryText.h"

#include "lookup/CodePage932.h"
#include "lookup/HttpEncode.h"
#include "lookup/SkTextCoder.h"

namespace lookup {

QString EncodeQueryText(const QString& text, QueryEncoding encoding) {
    switch (encoding) {
    case QueryEncoding::qeRaw:
        return text;
    case QueryEncoding::qeUTF8:
        return HTTPEncodeToString(toUtf8(text));
    case QueryEncoding::qeShiftJIS:
        return HTTPEncodeToString(toCodePage932(text));
    case QueryEncoding::qeEUCJP:
        return HTTPEncodeToString(ShiftJISToEUCJP(toCodePage932(text)));
    case QueryEncoding::qeShiftJISTwice:
        return HTTPEncodeToString(HTTPEncode(toCodePage932(text)));
    }
    return text;
}

} // namespace lookup
