// libFuzzer target: a failure page made of any failed address, copied text, site captions and
// alternatives. Nothing of them may become markup: the page has exactly as many '<', '>' and
// '"' as the same page made of harmless stand-ins. Each alternative's links must lead back to
// it, and the page's own address must give back the failed address.
#include "browser/FailurePage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <iterator>

using browser::FailurePage;
using browser::LoadFailure;
using browser::LoadFailureKind;

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "failure page fuzzer: %s\n", what);
        std::abort();
    }
}

QString text(FuzzedDataProvider& input) {
    return QString::fromStdString(input.ConsumeRandomLengthString(400));
}

// A site key, of the catalogue's letters, digits and '_' (the keys are the program's own).
QString siteKey(FuzzedDataProvider& input) {
    static constexpr char16_t kLetters[] =
        u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_";
    QString key;
    for (const char c : input.ConsumeRandomLengthString(30))
        key += QChar(kLetters[static_cast<unsigned char>(c) % (std::size(kLetters) - 1)]);
    return key;
}

// A stand-in of the same emptiness, with nothing to escape.
QString harmless(const QString& s) {
    return s.isEmpty() ? QString() : QStringLiteral("x");
}

struct PageParts {
    QUrl address;
    LoadFailure failure;
    bool isLookup = false;
    FailurePage::Lookup lookup;
};

FailurePage pageOf(const PageParts& parts) {
    FailurePage page(parts.address, parts.failure);
    if (parts.isLookup)
        page.setLookup(parts.lookup);
    return page;
}

qsizetype markupCharacters(const QString& html) {
    return html.count(u'<') + html.count(u'>') + html.count(u'"');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    PageParts parts;
    parts.failure.kind =
        LoadFailureKind(input.ConsumeIntegralInRange<int>(0, int(LoadFailureKind::Other)));
    parts.failure.code = input.ConsumeIntegral<int>();
    parts.isLookup = input.ConsumeBool();
    const int alternatives = input.ConsumeIntegralInRange(0, 3);
    parts.lookup.siteCaption = text(input);
    parts.lookup.text = text(input);
    for (int i = 0; i < alternatives; ++i)
        parts.lookup.alternatives.push_back({siteKey(input), text(input), text(input)});
    parts.address = QUrl(QString::fromStdString(input.ConsumeRemainingBytesAsString()));

    PageParts stand_ins = parts;
    stand_ins.address = parts.address.isEmpty() ? QUrl() : QUrl(QStringLiteral("http://x.test/"));
    stand_ins.lookup.siteCaption = harmless(parts.lookup.siteCaption);
    stand_ins.lookup.text = harmless(parts.lookup.text);
    for (FailurePage::Alternative& a : stand_ins.lookup.alternatives)
        a = {harmless(a.siteKey), harmless(a.caption), harmless(a.address)};

    const FailurePage page = pageOf(parts);
    require(markupCharacters(page.html()) == markupCharacters(pageOf(stand_ins).html()),
            "text from outside became markup");
    (void)page.title();

    // When the network or the proxy is down, every other site would fail alike: no link to
    // one is honoured (and none is shown).
    for (const FailurePage::Alternative& a : page.alternatives()) {
        if (parts.failure.concernsEverySite()) {
            for (const auto kind :
                 {FailurePage::Request::Kind::LookUp, FailurePage::Request::Kind::UseSite})
                require(!page.request(page.requestUrl(a, kind)),
                        "an alternative's link honoured although every site fails alike");
            continue;
        }
        for (const auto kind :
             {FailurePage::Request::Kind::LookUp, FailurePage::Request::Kind::UseSite}) {
            const auto request = page.request(page.requestUrl(a, kind));
            if (!request || request->kind != kind || !request->alternative ||
                request->alternative->siteKey != a.siteKey) {
                std::fprintf(stderr, "site key %s, link %s\n", qPrintable(a.siteKey),
                             page.requestUrl(a, kind).toEncoded().constData());
                require(false, "an alternative's link does not lead to it");
            }
        }
    }
    if (parts.address.isValid() && !parts.address.isEmpty()) {
        const auto failed = FailurePage::failedAddressOf(page.pageUrl());
        require(failed && failed->toEncoded() == parts.address.toEncoded(),
                "the page's address does not give back the failed address");
    }
    return 0;
}
