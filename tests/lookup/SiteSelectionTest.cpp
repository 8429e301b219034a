#include "lookup/SiteSelection.h"

#include "lookup/Catalogue.h"

#include <gtest/gtest.h>

using namespace lookup;

namespace {

const Catalogue& cat() {
    return Catalogue::instance();
}

int checkedCount(const SiteSelection& s, const LookupCategory& category) {
    int n = 0;
    for (const SiteEntry& e : cat().entries())
        n += (e.category == &category && s.isChecked(e)) ? 1 : 0;
    return n;
}

} // namespace

TEST(SiteSelection, Defaults) {
    SiteSelection s;
    for (const LookupCategory& category : cat().categories()) {
        EXPECT_TRUE(s.isChecked(*category.defaultEntry)) << category.categoryKey.toStdString();
        EXPECT_EQ(checkedCount(s, category), 1) << category.categoryKey.toStdString();
        EXPECT_EQ(s.buttonVisible(category), category.defaultIsSite());
        EXPECT_EQ(s.menuActionChecked(category), category.defaultIsSite());
        EXPECT_EQ(s.buttonHint(category), category.initialHint);
    }
}

// In every category, from every entry to every entry (hidden ones included): exactly the chosen
// one is checked, and the button and submenu mark follow.
TEST(SiteSelection, EveryEntryOfEveryCategory) {
    for (const LookupCategory& category : cat().categories()) {
        std::vector<const SiteEntry*> all = category.menuOrder;
        for (const SiteEntry* e : category.dispatchOrder)
            if (!e->inMenu)
                all.push_back(e);
        for (const SiteEntry* from : all) {
            for (const SiteEntry* to : all) {
                SiteSelection s;
                s.choose(*from);
                s.choose(*to);
                const std::string where =
                    QStringLiteral("%1 -> %2").arg(from->actionName, to->actionName).toStdString();
                EXPECT_TRUE(s.isChecked(*to)) << where;
                EXPECT_EQ(checkedCount(s, category), 1) << where;
                EXPECT_EQ(s.buttonVisible(category), !to->isNone()) << where;
                EXPECT_EQ(s.menuActionChecked(category), !to->isNone()) << where;
                const SiteEntry* hintFrom = to->isNone() ? from : to;
                EXPECT_EQ(s.buttonHint(category),
                          hintFrom->isNone() ? category.initialHint : hintFrom->caption)
                    << where;
            }
        }
    }
}

TEST(SiteSelection, SignalsFollowTheChoice) {
    SiteSelection s;
    const LookupCategory& eiwa2 = cat().category(CategoryId::EnglishJapanese2);
    const SiteEntry& goo = *cat().siteByKey(u"goo_2_eiwa");
    QStringList log;
    QObject::connect(&s, &SiteSelection::checkedChanged, [&](const SiteEntry* e, bool on) {
        log << QStringLiteral("%1=%2").arg(e->actionName).arg(on);
    });
    QObject::connect(&s, &SiteSelection::buttonVisibleChanged, [&](const LookupCategory*, bool on) {
        log << QStringLiteral("button=%1").arg(on);
    });
    QObject::connect(
        &s, &SiteSelection::menuActionCheckedChanged,
        [&](const LookupCategory*, bool on) { log << QStringLiteral("menu=%1").arg(on); });
    QObject::connect(
        &s, &SiteSelection::buttonHintChanged,
        [&](const LookupCategory*, const QString& h) { log << QStringLiteral("hint=%1").arg(h); });
    s.choose(goo);
    EXPECT_EQ(log.join(u' ').toStdString(),
              "A_no_uses_2_eiwa_check=0 A_goo_2_eiwa_check=1 button=1 menu=1 hint=goo英和、和英");
    log.clear();
    s.choose(*eiwa2.noneEntry);
    // The hint stays that of the last Site.
    EXPECT_EQ(log.join(u' ').toStdString(),
              "A_goo_2_eiwa_check=0 A_no_uses_2_eiwa_check=1 button=0 menu=0");
    EXPECT_EQ(s.buttonHint(eiwa2), u"goo英和、和英");
}

TEST(SiteSelection, HintKeepsDoubleAmpersand) {
    SiteSelection s;
    s.choose(*cat().siteByKey(u"Delphi_BBS"));
    EXPECT_EQ(s.buttonHint(cat().category(CategoryId::MessageBoard)), u"Delphi Q&&A BBS");
}
