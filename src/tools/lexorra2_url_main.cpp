// lexorra2-url: prints the URL that a lookup of a text at one site loads.
#include "lookup/Catalogue.h"
#include "lookup/SiteQuery.h"

#include <QStringDecoder>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kUsageError = 2;
constexpr const char* kUsage = "usage: lexorra2-url SITEKEY [TEXT] | lexorra2-url --list";

int fail(const QString& message) {
    std::fprintf(stderr, "lexorra2-url: %s\n", message.toUtf8().constData());
    return kUsageError;
}

void printLine(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

int listSites() {
    for (const auto& slot : lookup::Catalogue::instance().slots())
        for (const auto* site : slot.dispatchOrder)
            printLine(site->siteKey);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0)
        return listSites();
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::puts(kUsage);
        return 0;
    }
    if (argc < 2 || argc > 3)
        return fail(QStringLiteral("expected a site key and at most one text (%1)")
                        .arg(QLatin1StringView(kUsage)));
    if (argv[1][0] == '-')
        return fail(QStringLiteral("unknown option \"%1\" (%2)")
                        .arg(QString::fromLocal8Bit(argv[1]), QLatin1StringView(kUsage)));

    const QString key = QString::fromUtf8(argv[1]);
    const lookup::SiteEntry* site = lookup::Catalogue::instance().siteByKey(key);
    if (!site)
        return fail(QStringLiteral("unknown site key \"%1\"; --list shows them all").arg(key));

    QString text;
    if (argc == 3) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8.decode(QByteArrayView(argv[2], std::strlen(argv[2])));
        if (utf8.hasError())
            return fail(QStringLiteral("the text is not valid UTF-8"));
    }
    printLine(lookup::siteQueryUrl(*site, text));
    return 0;
}
