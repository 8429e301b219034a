#pragma once

#include "settings/Options.h"

#include <QStringList>

namespace lookup {
struct LookupCategory;
struct SiteEntry;
class SiteSelection;
} // namespace lookup

namespace settings {

// The settings file's 42 lines and the program's state they stand for: the entry chosen in
// each category (kept by the site selection) and the options. Only the line number says what a
// line means; files written by the Windows program read the same.
class SettingsLines {
public:
    static constexpr int kLineCount = 42;
    static constexpr int kFirstSwitchLine = 20;
    static constexpr int kPriorityLine = 32;
    static constexpr int kTextSizeLine = 33;
    static constexpr int kProxyChoiceLine = 34;
    static constexpr int kProxyAddressLine = 35;

    // The lines that keep the given state.
    static QStringList write(const Options& options, const lookup::SiteSelection& selection);

    // Puts the lines in force: each category line chooses an entry in the selection, with the line
    // itself as its button's hint; the other lines go into `options`. A value that names
    // nothing takes its line's fallback: for a category its fallback Site, for an option "off",
    // "普通", "大", and for the proxy choice "1" (no proxy). Lines beyond the given ones (a
    // file cut short) leave the selection and the options as they are, so that a truncated
    // file turns nothing off that it did not mention; lines beyond 42 are ignored.
    static void read(const QStringList& lines, Options& options, lookup::SiteSelection& selection);

    // The category a line stores, or null for the other lines.
    static const lookup::LookupCategory* categoryOfLine(int line);
    // The Site a category line takes when its value names no entry of the category. For the six
    // repeated categories it is a Site as well, although they start with nothing chosen.
    static const lookup::SiteEntry& fallbackSite(const lookup::LookupCategory& category);

    static QString priorityWord(ProcessPriority priority);
    static QString textSizeWord(TextSize size);
};

} // namespace settings
