// libFuzzer target: any text (the input as UTF-8) as an address to open, or, when the input
// starts with a 0x01 byte, as the copied text in a query that takes it as it is. The step must
// end with a URL that is valid or empty, one whose own address opens the very same address
// again (a reload or a history entry gives the engine that address), and one a person can
// read.
#include "browser/AddressUrl.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char* what, const QUrl& url) {
    if (!condition) {
        std::fprintf(stderr, "address fuzzer: %s: %s\n", what, url.toEncoded().constData());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool isQueryText = size > 0 && data[0] == 0x01;
    QString address = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    if (isQueryText)
        address =
            QStringLiteral("http://dictionary.goo.ne.jp/srch/jn/%1/m0u/?p=%1").arg(address.mid(1));
    const QUrl url = browser::addressToUrl(address);
    require(!isQueryText || url.isValid(), "a lookup's address gives no URL", url);
    require(url.isEmpty() || url.isValid(), "a URL neither valid nor empty", url);
    if (url.isEmpty())
        return 0;
    const QUrl again = browser::addressToUrl(QString::fromUtf8(url.toEncoded()));
    require(again.toEncoded() == url.toEncoded(), "the URL's own address opens another URL", again);
    (void)browser::addressForReading(url);
    return 0;
}
