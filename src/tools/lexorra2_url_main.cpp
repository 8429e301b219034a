// lexorra2-url: prints the URL that a lookup of a text at one site loads, or checks that
// sites still answer their queries.
#include "lookup/Catalogue.h"
#include "lookup/SiteQuery.h"
#include "tools/SiteCheck.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr int kUsageError = 2;
constexpr const char* kUsage =
    "usage: lexorra2-url SITEKEY [TEXT] | lexorra2-url --list | lexorra2-url --check "
    "[--proxy URL] [--timeout SECONDS] [--text TEXT] [SITEKEY...]";

int fail(const QString& message) {
    std::fprintf(stderr, "lexorra2-url: %s\n", message.toUtf8().constData());
    return kUsageError;
}

void printLine(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

int listSites() {
    for (const auto& category : lookup::Catalogue::instance().categories())
        for (const auto* site : category.dispatchOrder)
            printLine(site->siteKey);
    return 0;
}

QString fromArgument(const char* arg) {
    return QString::fromLocal8Bit(arg);
}

// The word a check looks up: English for the English dictionaries, Japanese elsewhere.
QString sampleText(const lookup::SiteEntry& site) {
    const lookup::LookupCategory& category =
        site.category->copyOf ? *site.category->copyOf : *site.category;
    return category.id == lookup::CategoryId::EnglishEnglish ? QStringLiteral("dictionary")
                                                             : QStringLiteral("辞書");
}

// The proxy of --proxy, else of http_proxy in the environment, else none.
std::optional<QNetworkProxy> proxyFrom(const QString& given) {
    QString address = given;
    if (address.isNull())
        address = qEnvironmentVariable("http_proxy", qEnvironmentVariable("HTTP_PROXY"));
    if (address.isEmpty())
        return QNetworkProxy(QNetworkProxy::NoProxy);
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid() || url.host().isEmpty() || url.scheme() != u"http")
        return std::nullopt;
    return QNetworkProxy(QNetworkProxy::HttpProxy, url.host(), url.port(8080), url.userName(),
                         url.password());
}

// NaN and infinities read as numbers but compare false with every bound, and turning them into
// an int is undefined: only finite values within the range pass.
std::optional<int> timeoutMilliseconds(const QString& seconds) {
    bool ok = false;
    const double value = seconds.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0.001 || value > 3600)
        return std::nullopt;
    return static_cast<int>(std::lround(value * 1000));
}

QString resultLine(const tools::SiteCheck::Result& r) {
    QString line = QStringLiteral("%1 %2 %3s %4 %5")
                       .arg(r.ok() ? QStringLiteral("OK  ") : QStringLiteral("FAIL"),
                            r.status ? QString::number(r.status) : QStringLiteral("---"),
                            QString::number(r.elapsedMs / 1000.0, 'f', 2).rightJustified(6), r.key,
                            QString::fromUtf8(r.finalUrl.toEncoded()));
    if (!r.error.isEmpty())
        line += QStringLiteral(" (%1)").arg(r.error);
    return line;
}

int checkSites(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString proxy;
    QString text;
    int timeoutMs = tools::SiteCheck::kDefaultTimeoutMs;
    std::vector<const lookup::SiteEntry*> sites;
    const lookup::Catalogue& catalogue = lookup::Catalogue::instance();
    for (int i = 2; i < argc; ++i) {
        const QString arg = fromArgument(argv[i]);
        const bool hasValue = i + 1 < argc;
        if (arg == u"--proxy" && hasValue) {
            proxy = fromArgument(argv[++i]);
        } else if (arg == u"--text" && hasValue) {
            text = QString::fromUtf8(argv[++i]);
        } else if (arg == u"--timeout" && hasValue) {
            const std::optional<int> ms = timeoutMilliseconds(fromArgument(argv[++i]));
            if (!ms)
                return fail(QStringLiteral("--timeout takes a number of seconds from 0.001 to "
                                           "3600"));
            timeoutMs = *ms;
        } else if (arg.startsWith(u'-')) {
            return fail(QStringLiteral("unknown option or missing value \"%1\" (%2)")
                            .arg(arg, QLatin1StringView(kUsage)));
        } else if (const lookup::SiteEntry* site = catalogue.siteByKey(arg)) {
            sites.push_back(site);
        } else {
            return fail(QStringLiteral("unknown site key \"%1\"; --list shows them all").arg(arg));
        }
    }
    // Without keys, every site once: the repeated categories ask the same hosts again.
    if (sites.empty())
        for (const auto& category : catalogue.categories())
            if (!category.copyOf)
                for (const auto* site : category.dispatchOrder)
                    sites.push_back(site);

    const std::optional<QNetworkProxy> networkProxy = proxyFrom(proxy);
    if (!networkProxy)
        return fail(QStringLiteral("the proxy must be an http://HOST:PORT address"));

    std::vector<tools::SiteCheck::Site> checks;
    for (const auto* site : sites) {
        const QString address =
            lookup::siteQueryUrl(*site, text.isEmpty() ? sampleText(*site) : text);
        checks.push_back({site->siteKey, QUrl::fromUserInput(address)});
    }
    tools::SiteCheck check(std::move(checks));
    check.setProxy(*networkProxy);
    check.setTimeoutMs(timeoutMs);
    int failed = 0;
    QObject::connect(&check, &tools::SiteCheck::resultReady, &check,
                     [&](const tools::SiteCheck::Result& r) {
                         if (!r.ok())
                             ++failed;
                         printLine(resultLine(r));
                         std::fflush(stdout);
                     });
    QObject::connect(&check, &tools::SiteCheck::finished, &app, &QCoreApplication::quit);
    check.start();
    app.exec();
    return failed ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0)
        return listSites();
    if (argc >= 2 && std::strcmp(argv[1], "--check") == 0)
        return checkSites(argc, argv);
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
