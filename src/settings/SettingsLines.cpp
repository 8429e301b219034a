#include "settings/SettingsLines.h"

#include "lookup/Catalogue.h"
#include "lookup/SiteSelection.h"

#include <algorithm>
#include <array>
#include <utility>

namespace settings {

using lookup::Catalogue;
using lookup::LookupCategory;
using lookup::SiteEntry;

namespace {

// The category of each category line: the twenty standard categories on lines 0 to 19, the six
// repeated ones on lines 36 to 41 (they came later, so they follow everything else).
using enum lookup::CategoryId;
constexpr std::array<lookup::CategoryId, 20> kStandardCategoryLines{JapaneseDictionary,
                                                                    EnglishJapanese,
                                                                    EnglishEnglish,
                                                                    Chinese,
                                                                    Korean,
                                                                    Translation,
                                                                    Encyclopedia,
                                                                    Thesaurus,
                                                                    WebSearch,
                                                                    Auction,
                                                                    Shopping,
                                                                    Map,
                                                                    Weather,
                                                                    Music,
                                                                    Video,
                                                                    QuestionAndAnswer,
                                                                    News,
                                                                    ComputerTerms,
                                                                    Blog,
                                                                    MessageBoard};
constexpr std::array<lookup::CategoryId, 6> kRepeatedCategoryLines{
    EnglishJapanese2, EnglishJapanese3, EnglishEnglish2, EnglishEnglish3, Shopping2, Shopping3};
constexpr int kFirstRepeatedCategoryLine = 36;

// The words of the priority and text size lines. At namespace scope rather than made on first
// use: a save while the process exits must not find them already destroyed.
const std::array<std::pair<ProcessPriority, QString>, 4> kPriorityWords{{
    {ProcessPriority::High, QStringLiteral("高い")},
    {ProcessPriority::Normal, QStringLiteral("普通")},
    {ProcessPriority::Idle, QStringLiteral("低い")},
    {ProcessPriority::RealTime, QStringLiteral("リアルタイム")},
}};

const std::array<std::pair<TextSize, QString>, 4> kTextSizeWords{{
    {TextSize::Small, QStringLiteral("小")},
    {TextSize::Medium, QStringLiteral("中")},
    {TextSize::Large, QStringLiteral("大")},
    {TextSize::Max, QStringLiteral("Max")},
}};

const QString kTrue = QStringLiteral("True");
const QString kFalse = QStringLiteral("False");

// The proxy choice is a decimal number, 0 meaning on: "00" or "-0" is 0 as well. Any other
// value, or anything that is not a number (" 0", "0x0"), means off; the value is not cut to a
// byte, so "256" cannot switch a proxy on.
bool isDecimalZero(const QString& line) {
    QStringView digits(line);
    if (digits.startsWith(u'+') || digits.startsWith(u'-'))
        digits = digits.sliced(1);
    return !digits.isEmpty() &&
           std::all_of(digits.begin(), digits.end(), [](QChar c) { return c == u'0'; });
}

template <typename Value, std::size_t N>
Value fromWord(const std::array<std::pair<Value, QString>, N>& words, const QString& line,
               Value fallback) {
    for (const auto& [value, word] : words)
        if (line == word)
            return value;
    return fallback;
}

template <typename Value, std::size_t N>
QString toWord(const std::array<std::pair<Value, QString>, N>& words, Value value) {
    for (const auto& [v, word] : words)
        if (v == value)
            return word;
    return {};
}

// The entry of the category whose stored name the line holds, else the category's fallback Site.
const SiteEntry& entryNamed(const LookupCategory& category, const QString& line) {
    if (line == category.noneEntry->storedName)
        return *category.noneEntry;
    for (const SiteEntry* e : category.dispatchOrder)
        if (e->storedName == line)
            return *e;
    return SettingsLines::fallbackSite(category);
}

} // namespace

const LookupCategory* SettingsLines::categoryOfLine(int line) {
    if (line >= 0 && line < int(kStandardCategoryLines.size()))
        return &Catalogue::instance().category(kStandardCategoryLines[line]);
    if (line >= kFirstRepeatedCategoryLine && line < kLineCount)
        return &Catalogue::instance().category(
            kRepeatedCategoryLines[line - kFirstRepeatedCategoryLine]);
    return nullptr;
}

const SiteEntry& SettingsLines::fallbackSite(const LookupCategory& category) {
    if (!category.copyOf)
        return *category.defaultEntry;
    // A repeated category falls back on its own copy of the first category's default Site.
    return *Catalogue::instance().entryByStoredName(category,
                                                    category.copyOf->defaultEntry->storedName);
}

QString SettingsLines::priorityWord(ProcessPriority priority) {
    return toWord(kPriorityWords, priority);
}

QString SettingsLines::textSizeWord(TextSize size) {
    return toWord(kTextSizeWords, size);
}

QStringList SettingsLines::write(const Options& options, const lookup::SiteSelection& selection) {
    QStringList lines;
    for (int line = 0; line < kLineCount; ++line) {
        if (const LookupCategory* category = categoryOfLine(line)) {
            lines << selection.checkedEntry(*category).storedName;
        } else if (line < kPriorityLine) {
            lines << (options.*kSwitches[line - kFirstSwitchLine].member ? kTrue : kFalse);
        } else if (line == kPriorityLine) {
            lines << priorityWord(options.priority);
        } else if (line == kTextSizeLine) {
            lines << textSizeWord(options.textSize);
        } else if (line == kProxyChoiceLine) {
            lines << QString::number(options.proxyChoice);
        } else {
            lines << options.proxyAddress;
        }
    }
    return lines;
}

void SettingsLines::read(const QStringList& lines, Options& options,
                         lookup::SiteSelection& selection) {
    const int count = std::min<int>(lines.size(), kLineCount);
    for (int line = 0; line < count; ++line) {
        const QString& value = lines[line];
        if (const LookupCategory* category = categoryOfLine(line)) {
            selection.restore(entryNamed(*category, value), value);
        } else if (line < kPriorityLine) {
            options.*kSwitches[line - kFirstSwitchLine].member = value == kTrue;
        } else if (line == kPriorityLine) {
            options.priority = fromWord(kPriorityWords, value, ProcessPriority::Normal);
        } else if (line == kTextSizeLine) {
            options.textSize = fromWord(kTextSizeWords, value, TextSize::Large);
        } else if (line == kProxyChoiceLine) {
            options.proxyChoice = isDecimalZero(value) ? 0 : 1;
        } else {
            options.proxyAddress = value;
        }
    }
}

} // namespace settings
