#include "settings/CategoryVisibility.h"

#include "lookup/Catalogue.h"

#include <algorithm>

namespace settings {

namespace {

struct CategoryLine {
    const char* categoryKey;
    const char* label;
    bool shownByDefault;
    bool shownOnSmallScreen; // by default on a screen exactly 768 pixels high
};

constexpr CategoryLine kLines[CategoryVisibility::kLineCount] = {
    {"kokugo", "国語辞書", true, true},
    {"eiwa", "英和・和英辞典", true, true},
    {"eiwa2", "英和・和英辞典2", false, false},
    {"eiwa3", "英和・和英辞典3", false, false},
    {"eiei", "英英辞典", true, false},
    {"eiei2", "英英辞典2", false, false},
    {"eiei3", "英英辞典3", false, false},
    {"tyuugokugo", "中国語辞典", true, false},
    {"kankokugo", "韓国語辞典", true, false},
    {"Honyaku", "翻訳", true, true},
    {"hyakka", "百科事典", true, true},
    {"ruigo", "類語辞典", true, true},
    {"kensaku", "検索エンジン", true, true},
    {"auction", "オークション", true, true},
    {"shopping", "ショッピング", true, true},
    {"shopping2", "ショッピング2", false, false},
    {"shopping3", "ショッピング3", false, false},
    {"map", "地図", true, true},
    {"weather", "天気", true, true},
    {"music", "音楽・歌詞", true, true},
    {"movie", "動画", true, true},
    {"QA", "質問・回答", true, true},
    {"news", "ニュース検索", true, true},
    {"PC", "パソコン用語", true, true},
    {"blog", "ブログ", true, true},
    {"BBS", "掲示板", true, true},
};

const QString kShown = QStringLiteral("true");
// The word the Windows program writes for a hidden submenu, kept so that its files and ours
// stay the same byte for byte.
const QString kHidden = QStringLiteral("fales");

} // namespace

CategoryVisibility CategoryVisibility::defaults(int screenHeight) {
    CategoryVisibility v;
    for (int line = 0; line < kLineCount; ++line)
        v.shown_[line] = screenHeight == kSmallScreenHeight ? kLines[line].shownOnSmallScreen
                                                            : kLines[line].shownByDefault;
    return v;
}

CategoryVisibility CategoryVisibility::fromLines(const QStringList& lines, int screenHeight) {
    CategoryVisibility v = defaults(screenHeight);
    const int count = std::min<int>(lines.size(), kLineCount);
    for (int line = 0; line < count; ++line)
        v.shown_[line] = lines[line] == kShown;
    return v;
}

QStringList CategoryVisibility::toLines() const {
    QStringList lines;
    for (bool shown : shown_)
        lines << (shown ? kShown : kHidden);
    return lines;
}

const lookup::LookupCategory& CategoryVisibility::categoryOfLine(int line) {
    return *lookup::Catalogue::instance().categoryByKey(
        QString::fromLatin1(kLines[line].categoryKey));
}

QString CategoryVisibility::labelOfLine(int line) {
    return QString::fromUtf8(kLines[line].label);
}

} // namespace settings
