#pragma once

namespace lookup {

// The categories of lookups, in button order. A category is named by this value everywhere
// in the program; the catalogue holds what belongs to each (Catalogue::category).
enum class CategoryId {
    JapaneseDictionary,
    EnglishJapanese,
    EnglishJapanese2,
    EnglishJapanese3,
    EnglishEnglish,
    EnglishEnglish2,
    EnglishEnglish3,
    Chinese,
    Korean,
    Translation,
    Encyclopedia,
    Thesaurus,
    WebSearch,
    Auction,
    Shopping,
    Shopping2,
    Shopping3,
    Map,
    Weather,
    Music,
    Video,
    QuestionAndAnswer,
    News,
    ComputerTerms,
    Blog,
    MessageBoard,
};

constexpr int kCategoryCount = static_cast<int>(CategoryId::MessageBoard) + 1;

} // namespace lookup
