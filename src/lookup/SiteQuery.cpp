#include "lookup/SiteQuery.h"

#include "lookup/Catalogue.h"
#include "lookup/CodePage932.h"
#include "lookup/EncodeQueryText.h"

namespace lookup {

QString siteQueryUrl(const SiteEntry& site, const QString& text) {
    const UrlTemplate& urlTemplate =
        !site.choosesByLanguage || hasOnlySingleByteCharacters(toCodePage932(text)) ? site.english
                                                                                    : site.other;
    const QStringList& pieces = urlTemplate.pieces;
    const QString word = encodeQueryText(text, urlTemplate.encoding);
    qsizetype size = word.size() * (pieces.size() - 1);
    for (const QString& piece : pieces)
        size += piece.size();
    QString url;
    url.reserve(size);
    url += pieces.front();
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        url += word;
        url += pieces[i];
    }
    return url;
}

} // namespace lookup
