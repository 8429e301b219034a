#pragma once

#include "lookup/LookupView.h"

#include <QString>
#include <QStringList>

// The window as a lookup sees it: records what the lookups do to it.
class FakeLookupView : public lookup::LookupView {
public:
    QString box;
    bool minimised = false;
    QStringList lookups; // the search box's text at each lookup
    QStringList calls;   // lookups and restores, in order

    QString searchText() const override { return box; }
    void setSearchText(const QString& t) override { box = t; }
    void addToHistory(const QString&) override {}
    void setLongTextNotice(bool) override {}
    void openQueryUrls(const QStringList&) override {
        lookups << box;
        calls << QStringLiteral("lookup[%1]").arg(box);
    }
    bool isMinimised() const override { return minimised; }
    void restoreIfMinimised() override {
        calls << QStringLiteral("restore[%1]").arg(box);
        minimised = false;
    }
    void bringForward() override {}
};
