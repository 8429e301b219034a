#include "browser/ExternalSchemePolicy.h"

#include "browser/FailurePage.h"
#include "browser/StartPage.h"

#include <QStringList>

namespace browser {

bool ExternalSchemePolicy::isWebScheme(const QString& scheme) {
    static const QStringList kWeb = {QStringLiteral("http"), QStringLiteral("https"),
                                     QStringLiteral("about"), QStringLiteral("data"),
                                     QStringLiteral("blob")};
    return kWeb.contains(scheme.toLower());
}

bool ExternalSchemePolicy::isLocalScheme(const QString& scheme) {
    const QString s = scheme.toLower();
    return s == QLatin1StringView(kStartPageScheme) ||
           s == QLatin1StringView(FailurePage::kScheme) || s == u"file" || s == u"qrc" ||
           s == u"filesystem" || s == u"view-source" || s == u"chrome" || s == u"devtools";
}

ExternalSchemePolicy::Decision ExternalSchemePolicy::decide(const QString& scheme,
                                                            Navigation navigation, bool mainFrame) {
    if (isWebScheme(scheme))
        return Decision::Load;
    const bool askedByProgram = navigation == Navigation::Typed ||
                                navigation == Navigation::BackForward ||
                                navigation == Navigation::Reload;
    if (isLocalScheme(scheme))
        return askedByProgram ? Decision::Load : Decision::Refuse;
    if (navigation == Navigation::LinkClicked && mainFrame)
        return Decision::Ask;
    return Decision::Refuse;
}

} // namespace browser
