#include "browser/ExternalSchemePolicy.h"

#include <QTest>

using browser::ExternalSchemePolicy;
using Navigation = ExternalSchemePolicy::Navigation;
using Decision = ExternalSchemePolicy::Decision;

Q_DECLARE_METATYPE(Navigation)
Q_DECLARE_METATYPE(Decision)

class ExternalSchemePolicyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decide_data() {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<Navigation>("navigation");
        QTest::addColumn<bool>("mainFrame");
        QTest::addColumn<Decision>("decision");

        auto row = [](const char* name, const char* scheme, Navigation n, bool main, Decision d) {
            QTest::newRow(name) << QString::fromLatin1(scheme) << n << main << d;
        };
        // Another program's scheme: only a clicked link of the page itself asks.
        row("ssh link clicked", "ssh", Navigation::LinkClicked, true, Decision::Ask);
        row("mailto link clicked", "mailto", Navigation::LinkClicked, true, Decision::Ask);
        row("scheme in capitals", "SomeApp", Navigation::LinkClicked, true, Decision::Ask);
        row("link in a frame", "ssh", Navigation::LinkClicked, false, Decision::Refuse);
        row("site's redirect", "someapp", Navigation::Redirect, true, Decision::Refuse);
        row("link without a press of the user's", "someapp", Navigation::LinkWithoutInput, true,
            Decision::Refuse);
        row("own page by a link without a press", "lexorra2", Navigation::LinkWithoutInput, true,
            Decision::Refuse);
        row("form sent", "someapp", Navigation::FormSubmitted, true, Decision::Refuse);
        row("script or other", "someapp", Navigation::Other, true, Decision::Refuse);
        row("typed", "someapp", Navigation::Typed, true, Decision::Refuse);
        row("history step", "someapp", Navigation::BackForward, true, Decision::Refuse);
        row("reload", "someapp", Navigation::Reload, true, Decision::Refuse);
        // Local files and the program's own pages: never from a page, never to a program.
        row("file link clicked", "file", Navigation::LinkClicked, true, Decision::Refuse);
        row("file redirect", "file", Navigation::Redirect, true, Decision::Refuse);
        row("start page link clicked", "lexorra2", Navigation::LinkClicked, true, Decision::Refuse);
        row("start page opened by the program", "lexorra2", Navigation::Typed, true,
            Decision::Load);
        row("start page again from the history", "lexorra2", Navigation::BackForward, true,
            Decision::Load);
        row("resources of the program", "qrc", Navigation::LinkClicked, true, Decision::Refuse);
        // The web goes on as the engine sees fit.
        row("http link", "http", Navigation::LinkClicked, true, Decision::Load);
        row("https redirect", "https", Navigation::Redirect, true, Decision::Load);
        row("http in a frame", "http", Navigation::Other, false, Decision::Load);
        row("about:blank", "about", Navigation::Other, true, Decision::Load);
        row("data address", "data", Navigation::Typed, true, Decision::Load);
    }

    void decide() {
        QFETCH(QString, scheme);
        QFETCH(Navigation, navigation);
        QFETCH(bool, mainFrame);
        QFETCH(Decision, decision);
        QCOMPARE(ExternalSchemePolicy::decide(scheme, navigation, mainFrame), decision);
    }
};

QTEST_APPLESS_MAIN(ExternalSchemePolicyTest)

#include "ExternalSchemePolicyTest.moc"
