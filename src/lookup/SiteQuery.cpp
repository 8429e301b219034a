#include "lookup/SiteQuery.h"

#include "lookup/Catalogue.h"
#include "lookup/CodePage932.h"
#include "lookup/EncodeQueryText.h"

namespace lookup {

QString siteQueryUrl(const SiteEntry& site, const QString& text) {
    const UrlTemplate& t =
        !site.choosesByLanguage || hasOnlySingleByteCharacters(toCodePage932(text)) ? site.english
                                                                                    : site.other;
    const QString word = encodeQueryText(text, t.encoding);
    qsizetype size = word.size() * (t.pieces.size() - 1);
    for (const QString& p : t.pieces)
        size += p.size();
    QString url;
    url.reserve(size);
    url += t.pieces.front();
    for (qsizetype i = 1; i < t.pieces.size(); ++i) {
        url += word;
        url += t.pieces[i];
    }
    return url;
}

} // namespace lookup
