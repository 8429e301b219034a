#pragma once

#include <QString>
#include <QStringList>

namespace testfiles {

inline QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The 42 lines of a file written right after window creation.
inline QStringList defaultLines() {
    QStringList lines = {u("yahoo!国語辞典"), u("yahoo!英和、和英"), u("Longman Web Dictionary"),
                         u("NAVER中国語辞書"), u("NAVER韓国語辞典"),
                         u("google翻訳　自動検出→日本語"), u("Wikipedia"), u("weblio類語辞典"),
                         u("google"), u("Voreziv オークション検索"), u("amazon"), u("googleマップ"),
                         u("yahoo!天気"), u("Voreziv 音楽検索"), u("youtube"), u("yahoo!知恵袋"),
                         u("Voreziv ニュース検索"), u("IT用語辞典 E-words"), u("Seesaaブログ"),
                         u("2ちゃんねる"),
                         // the twelve options
                         "True", "True", "False", "False", "False", "False", "False", "False",
                         "True", "False", "False", "False", u("普通"), u("大"), "1", ""};
    for (int i = 0; i < 6; ++i)
        lines << u("使わない");
    return lines;
}

} // namespace testfiles
