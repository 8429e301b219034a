#include "settings/CategoryVisibility.h"

#include "lookup/Catalogue.h"

#include <algorithm>

namespace settings {

namespace {

struct CategoryLine {
    lookup::CategoryId category;
    const char* label;
    bool shownByDefault;
    bool shownOnSmallScreen; // by default on a screen exactly 768 pixels high
};

constexpr CategoryLine kLines[CategoryVisibility::kLineCount] = {
    {lookup::CategoryId::JapaneseDictionary, "国語辞書", true, true},
    {lookup::CategoryId::EnglishJapanese, "英和・和英辞典", true, true},
    {lookup::CategoryId::EnglishJapanese2, "英和・和英辞典2", false, false},
    {lookup::CategoryId::EnglishJapanese3, "英和・和英辞典3", false, false},
    {lookup::CategoryId::EnglishEnglish, "英英辞典", true, false},
    {lookup::CategoryId::EnglishEnglish2, "英英辞典2", false, false},
    {lookup::CategoryId::EnglishEnglish3, "英英辞典3", false, false},
    {lookup::CategoryId::Chinese, "中国語辞典", true, false},
    {lookup::CategoryId::Korean, "韓国語辞典", true, false},
    {lookup::CategoryId::Translation, "翻訳", true, true},
    {lookup::CategoryId::Encyclopedia, "百科事典", true, true},
    {lookup::CategoryId::Thesaurus, "類語辞典", true, true},
    {lookup::CategoryId::WebSearch, "検索エンジン", true, true},
    {lookup::CategoryId::Auction, "オークション", true, true},
    {lookup::CategoryId::Shopping, "ショッピング", true, true},
    {lookup::CategoryId::Shopping2, "ショッピング2", false, false},
    {lookup::CategoryId::Shopping3, "ショッピング3", false, false},
    {lookup::CategoryId::Map, "地図", true, true},
    {lookup::CategoryId::Weather, "天気", true, true},
    {lookup::CategoryId::Music, "音楽・歌詞", true, true},
    {lookup::CategoryId::Video, "動画", true, true},
    {lookup::CategoryId::QuestionAndAnswer, "質問・回答", true, true},
    {lookup::CategoryId::News, "ニュース検索", true, true},
    {lookup::CategoryId::ComputerTerms, "パソコン用語", true, true},
    {lookup::CategoryId::Blog, "ブログ", true, true},
    {lookup::CategoryId::MessageBoard, "掲示板", true, true},
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
    return lookup::Catalogue::instance().category(kLines[line].category);
}

QString CategoryVisibility::labelOfLine(int line) {
    return QString::fromUtf8(kLines[line].label);
}

} // namespace settings
