// The site catalogue: every slot in button order and every site of the first slots of each
// kind in menu order. The second and third English-Japanese, English-English and shopping
// slots are derived from their first slot at start (see Catalogue.cpp).
// Query templates: {W} is the encoded word; other {..} names are fixed values (FixedValues).
#include "lookup/CatalogueTable.h"

namespace lookup::table {

using enum QueryEncoding;

const SiteRow k_kokugoSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"yahoo2_kokugo", "yahoo!国語辞典", "yahoo!国語辞典(&A)", "yahoo!国語辞典", SiteFlag::Default, 0,
     {qeUTF8, "http://dic.yahoo.co.jp/detail?p={W}&stype=0&dtype=0"}},
    {"goo2_kokugo", "goo国語辞典", "goo国語辞典(&G)", "goo国語辞典", SiteFlag::None, 2,
     {qeRaw, "http://dictionary.goo.ne.jp/srch/jn/{W}/m0u/"}},
    {"goo_kokugo", "goo辞書すべて", "goo辞書すべて(&O)", "goo辞書すべて", SiteFlag::None, 1,
     {qeRaw, "http://dictionary.goo.ne.jp/srch/all/{W}/m0u/"}},
    {"infoseek_kokugo", "infoseek国語辞典", "infoseek国語辞典(&I)", "infoseek国語辞典", SiteFlag::None, 4,
     {qeUTF8, "http://dictionary.infoseek.ne.jp/search/result?q={W}&t=0&r=lang"}},
    {"infoseek2_kokugo", "infoseek辞書すべて", "infoseek辞書すべて(&N)", "infoseek辞書すべて", SiteFlag::None, 3,
     {qeUTF8, "http://dictionary.infoseek.ne.jp/search/result?q={W}&t=0&r=all"}},
    {"Excite_kokugo", "Excite国語辞典", "Excite国語辞典(&E)", "Excite国語辞典", SiteFlag::None, 5,
     {qeShiftJIS, "http://www.excite.co.jp/dictionary/japanese/?match=beginswith&_ie=Shift_JIS&search={W}&dic=ja"}},
    {"weblio_kokugo", "Weblio辞書", "Weblio辞書(&W)", "Weblio辞書", SiteFlag::None, 6,
     {qeUTF8, "http://www.weblio.jp/content/{W}"}},
};

const SiteRow k_eiwaSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"yahoo_eiwa", "yahoo!英和、和英", "yahoo!英和、和英(&A)", "yahoo!英和、和英", SiteFlag::Default, 1,
     {qeRaw, "http://dic.yahoo.co.jp/dsearch?p={W}&stype=0&dtype=1"}, {qeUTF8, "http://dic.yahoo.co.jp/dsearch?p={W}&stype=0&dtype=3"}},
    {"goo_eiwa", "goo英和、和英", "goo英和、和英(&G)", "goo英和、和英", SiteFlag::None, 2,
     {qeRaw, "http://dictionary.goo.ne.jp/srch/ej/{W}/m0u/"}, {qeRaw, "http://dictionary.goo.ne.jp/srch/je/{W}/m0u/"}},
    {"infoseek_eiwa", "infoseek英和、和英", "infoseek英和、和英(&I)", "infoseek英和、和英", SiteFlag::None, 3,
     {qeRaw, "http://dictionary.infoseek.ne.jp/search/result?q={W}&t=0&r=ejje"}, {qeUTF8, "http://dictionary.infoseek.ne.jp/search/result?q={W}&t=0&r=ejje"}},
    {"Excite_eiwa", "Excite英和、和英", "Excite英和、和英(&E)", "Excite英和、和英", SiteFlag::None, 4,
     {qeRaw, "http://www.excite.co.jp/dictionary/english_japanese/?match=beginswith&dictionary=NEW_EJJE&search={W}&_submit=%E6%A4%9C%E7%B4%A2"}, {qeUTF8, "http://www.excite.co.jp/dictionary/japanese_english/?match=beginswith&search={W}&_submit=%E6%A4%9C%E7%B4%A2"}},
    {"weblio_eiwa", "Weblio英和、和英", "Weblio英和、和英(&W)", "Weblio英和、和英", SiteFlag::None, 5,
     {qeRaw, "http://ejje.weblio.jp/content/{W}"}, {qeUTF8, "http://ejje.weblio.jp/content/{W}"}},
    {"weblio2_eiwa", "Weblio英語類語", "Weblio英語類語(&B)", "Weblio英語類語", SiteFlag::None, 6,
     {qeRaw, "http://ejje.weblio.jp/english-thesaurus/content/{W}"}, {qeUTF8, "http://ejje.weblio.jp/english-thesaurus/content/{W}"}},
    {"ALC_eiwa", "英辞郎 on the WEB", "英辞郎 on the WEB", "アルク", SiteFlag::Hidden, 0,
     {qeRaw, "http://eow.alc.co.jp/{W}/UTF-8/?ref=sa"}, {qeUTF8, "http://eow.alc.co.jp/{W}/UTF-8/?ref=sae"}},
};

const SiteRow k_eieiSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"LongmanWebDictionary_eiei", "LongmanWebDictionary", "&LongmanWebDictionary", "Longman Web Dictionary", SiteFlag::Default, 0,
     {qeRaw, "http://www.ldoceonline.com/search/?q={W}"}},
    {"OxfordAdvancedLearnersDictionary_eiei", "Oxford Advanced Learner's Dictionary", "&Oxford Advanced Learner's Dictionary", "Oxford Advanced Learner's Dictionary", SiteFlag::None, 1,
     {qeRaw, "http://www.oxfordlearnersdictionaries.com/dictionary/{W}"}},
    {"cobuild_eiei", "Cobuild", "&Cobuild", "Cobuild", SiteFlag::None, 2,
     {qeRaw, "http://dictionary.reverso.net/english-cobuild/{W}"}},
    {"Onelook_eiei", "OneLook", "O&neLook", "OneLook", SiteFlag::None, 3,
     {qeRaw, "http://www.onelook.com/?w={W}&ls=a"}},
    {"MerriamWebsterOnline_eiei", "Merriam Webster Online", "&Merriam Webster Online", "MerriamWebsterOnline", SiteFlag::None, 4,
     {qeRaw, "http://www.merriam-webster.com/dictionary/{W}"}},
    {"Dictionary_eiei", "Dictionary.com", "&Dictionary.com", "Dictionary", SiteFlag::None, 5,
     {qeRaw, "http://www.dictionary.com/browse/{W}?s=t"}},
};

const SiteRow k_tyuugokugoSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"NAVER_tyuugokugo", "NAVER中国語", "NAVER中国語(&N)", "NAVER中国語辞書", SiteFlag::Default, 0,
     {qeRaw, "http://cndic.naver.jp/srch/all/1/{W}?sm=ctp_chh"}},
    {"goo_tyuugokugo", "goo中日辞典", "goo中日辞典(&G)", "goo中日辞典", SiteFlag::None, 1,
     {qeRaw, "http://dictionary.goo.ne.jp/srch/cj/{W}/m0u/"}},
    {"goo2_tyuugokugo", "goo日中辞典", "goo日中辞典(&O)", "goo日中辞典", SiteFlag::None, 2,
     {qeRaw, "http://dictionary.goo.ne.jp/srch/jc/{W}/m0u/"}},
    {"Weblio_tyuugokugo", "Weblio日中・中日辞典", "Weblio日中・中日辞典(&W)", "Weblio日中・中日辞典", SiteFlag::None, 3,
     {qeRaw, "http://cjjc.weblio.jp/content/{W}"}},
};

const SiteRow k_kankokugoSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"NAVER_kankokugo", "NAVER韓国語辞典", "NAVER韓国語辞典(&N)", "NAVER韓国語辞典", SiteFlag::Default, 0,
     {qeRaw, "http://krdic.naver.jp/search/all/{W}/?sm=kdi_hty"}},
};

const SiteRow k_HonyakuSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"google_Honyaku", "google翻訳　自動検出→日本語", "google翻訳　自動検出→日本語(&G)", "google翻訳　自動検出→日本語", SiteFlag::Default, 1,
     {qeRaw, "http://translate.google.co.jp/#auto/ja/{W}"}},
    {"google2_Honyaku", "google翻訳　自動検出→英語", "google翻訳　自動検出→英語(&O)", "google翻訳　自動検出→英語", SiteFlag::None, 2,
     {qeRaw, "http://translate.google.co.jp/#auto/en/{W}"}},
    {"google3_Honyaku", "google翻訳　自動検出→中国語(簡体字)", "google翻訳　自動検出→中国語(簡体字)(&L)", "google翻訳　自動検出→中国語(簡体字)", SiteFlag::None, 3,
     {qeRaw, "http://translate.google.co.jp/#auto/zh-CN/{W}"}},
    {"google4_Honyaku", "google翻訳　自動検出→中国語(繁体字)", "google翻訳　自動検出→中国語(繁体字)(&E)", "google翻訳　自動検出→中国語(繁体字)", SiteFlag::None, 4,
     {qeRaw, "http://translate.google.co.jp/#auto/zh-TW/{W}"}},
    {"google5_Honyaku", "google翻訳　自動検出→韓国語", "google翻訳　自動検出→韓国語(&Y)", "google翻訳　自動検出→韓国語", SiteFlag::None, 5,
     {qeRaw, "http://translate.google.co.jp/#auto/ko/{W}"}},
    {"Excite_Honyaku", "Excite翻訳英日日英", "Excite翻訳英日日英(&X)", "Excite翻訳英日日英", SiteFlag::None, 0,
     {qeUTF8, "http://www.excite.co.jp/world/english/?wb_lp=ENJA&before={W}"}, {qeUTF8, "http://www.excite.co.jp/world/english/?wb_lp=JAEN&before={W}"}},
};

const SiteRow k_hyakkaSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"Wikipedia_hyakka", "Wikipedia", "&Wikipedia", "Wikipedia", SiteFlag::Default, 0,
     {qeUTF8, "http://ja.wikipedia.org/wiki/{W}"}},
    {"hatena_hyakka", "はてなダイアリー", "はてなダイアリー(&Y)", "はてなダイアリー", SiteFlag::None, 1,
     {qeEUCJP, "http://search.hatena.ne.jp/search?word={W}&from="}},
    {"yahoo_hyakka", "yahoo!百科事典", "yahoo!百科事典(&A)", "yahoo!百科事典", SiteFlag::None, 2,
     {qeUTF8, "http://dic.search.yahoo.co.jp/dsearch?enc=UTF-8&stype=prefix&dic_id=100&ei=UTF-8&b=1&p={W}&oq="}},
};

const SiteRow k_ruigoSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"weblio_ruigo", "weblio類語辞典", "weblio類語辞典(&W)", "weblio類語辞典", SiteFlag::Default, 0,
     {qeUTF8, "http://thesaurus.weblio.jp/content/{W}"}},
    {"yahoo_ruigo", "yahoo!類語辞典", "yahoo!類語辞典(&Y)", "yahoo!類語辞典", SiteFlag::None, 1,
     {qeEUCJP, "http://dic.yahoo.co.jp/bin/dsearch?p={W}&stype=0&dtype=5"}},
    {"goo_ruigo", "goo類語辞典", "goo類語辞典(&G)", "goo類語辞典", SiteFlag::None, 2,
     {qeRaw, "http://dictionary.goo.ne.jp/srch/thsrs/{W}/m0u/"}},
};

const SiteRow k_kensakuSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"google_kensaku", "google", "&google", "google", SiteFlag::Default, 0,
     {qeUTF8, "http://www.google.co.jp/webhp?hl=ja#hl=ja&output=search&sclient=psy-ab&q={W}"}},
    {"yahoo_kensaku", "yahoo!", "&yahoo!", "yahoo!", SiteFlag::None, 1,
     {qeUTF8, "http://search.yahoo.co.jp/search?p={W}&aq=-1&oq=&ei=UTF-8&fr=top_ga1_sa&x=wrt"}},
    {"Bing_kensaku", "Bing", "&Bing", "Bing", SiteFlag::None, 2,
     {qeUTF8, "http://www.bing.com/search?q={W}"}},
};

const SiteRow k_auctionSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"Voreziv_Auction", "Voreziv オークション検索", "Voreziv オークション検索(&R)", "Voreziv オークション検索", SiteFlag::Default, 0,
     {qeUTF8, "http://aucfan.com/search/{W}"}},
    {"yahoo_Auction", "yahoo!オークション", "yahoo!オークション(&Y)", "yahoo!オークション", SiteFlag::None, 1,
     {qeUTF8, "http://auctions.yahoo.co.jp/search?p={W}&auccat=&aq=-1&oq=hello&ei=UTF-8&slider=0&tab_ex=commerce"}},
    {"Aucfan_Auction", "Aucfan開催中のオークション", "Aucfan開催中のオークション(&A)", "Aucfan開催中のオークション", SiteFlag::None, 2,
     {qeEUCJP, "http://aucfan.com/search2/ss_131079-q{W}-ot1-vmode_0.html"}},
    {"Aucfan2_Auction", "Aucfan落札相場", "Aucfan落札相場(&U)", "Aucfan落札相場", SiteFlag::None, 3,
     {qeEUCJP, "http://aucfan.com/search1/smix-q{W}-tl30d-ot1-vmode_0.html"}},
    {"mobaoku_Auction", "モバオク", "モバオク(&X)", "モバオク", SiteFlag::None, 4,
     {qeShiftJIS, "http://www.mbok.jp/_l?_CODE=%82%A0&_SRC=top_sr&r=fc&gq=1&mem=1&q={W}&c=&imageField.x=9&imageField.y=12"}},
    {"rakuten_Auction", "楽天オークション", "楽天オークション(&W)", "楽天オークション", SiteFlag::None, 5,
     {qeEUCJP, "http://search.rakuten.co.jp/rms/sd/esearch/vc?sv=13&v=2&s=34&f=A&g=0&sitem={W}"}},
    {"goo_Auction", "gooオークション", "gooオークション(&G)", "gooオークション", SiteFlag::None, 6,
     {qeEUCJP, "http://auction.goo.ne.jp/auction/servlet/auctionSearch?keyword={W}&auctionGenreId=&hits=20&imageFlag=0&sort=bidcount_d&itemType=0&blowFlag=0&y1startFlag=0&anonymityFlag=0&postageFlag=0&closedFlag=0&bidStatus=0&newFlag=0&auction_search=%BE%A6%C9%CA%B8%A1%BA%F7"}},
    {"Excite_Auction", "Exciteオークション", "Exciteオークション(&E)", "Exciteオークション", SiteFlag::None, 7,
     {qeUTF8, "http://auction.excite.co.jp/search/?k={W}&select="}},
    {"girlsauction_Auction", "girls auction", "g&irls auction", "girls auction", SiteFlag::None, 9,
     {qeUTF8, "http://fril.jp/_i01?q={W}"}},
    {"Brandear_Auction", "Brandearオークション!", "Brandearオークション!(&B)", "Brandearオークション!", SiteFlag::None, 10,
     {qeUTF8, "http://brandear.jp/search/list/?SearchFullText={W}"}},
    {"WANTEDAUCTION_Auction", "WANTED AUCTION !", nullptr, "WANTED AUCTION !", SiteFlag::None, 8,
     {qeShiftJIS, "http://auctions.yahoo.co.jp/mem1/search/mem_srch_list.asp?GENRE=0&KEYWORD={W}&SF=E&SS=S&P=1"}},
};

const SiteRow k_shoppingSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"amazon_shopping", "amazon", "&amazon", "amazon", SiteFlag::Default, 0,
     {qeShiftJIS, "http://www.amazon.co.jp/gp/search?index=blended&tag={T}&field-keywords={W}&__mk_ja_JP=カタカナ&linkCode=qs"}},
    {"rakuten_shopping", "楽天", "楽天(&Y)", "楽天", SiteFlag::None, 1,
     {qeEUCJP, "http://search.rakuten.co.jp/rms/sd/esearch/vc?sv=13&sitem={W}"}},
    {"kakaku_shopping", "価格.com", "価格.com(&C)", "価格.com", SiteFlag::None, 2,
     {qeShiftJIS, "http://kakaku.com/search_results/{W}/?search.x=0&search.y=0"}},
    {"yodobashi_shopping", "ヨドバシ.com", "ヨドバシ.com(&M)", "ヨドバシ.com", SiteFlag::None, 3,
     {qeUTF8, "http://www.yodobashi.com/ec/category/index.html?query=&cate=&word={W}"}},
    {"yahoo_shopping", "yahoo!ショッピング", "yahoo!ショッピング(&H)", "yahoo!ショッピング", SiteFlag::None, 4,
     {qeEUCJP, "http://shopping.yahoo.co.jp/search?first=1&tab_ex=commerce&ei=euc-jp&fr=shp-prop&cid=&p={W}&x=0&y=0"}},
    {"honto_shopping", "hontoネットストア", "hontoネットストア(&N)", "hontoネットストア", SiteFlag::None, 5,
     {qeUTF8, "http://honto.jp/netstore/search_10{W}.html?srchf=1"}},
    {"BOOKOFF_shopping", "BOOKOFF ONLINE", "&BOOKOFF ONLINE", "BOOKOFF ONLINE", SiteFlag::None, 6,
     {qeShiftJISTwice, "http://shopping.bookoff.co.jp/display/L001,q={W}"}},
    {"surugaya_shopping", "駿河屋", "駿河屋(&X)", "駿河屋", SiteFlag::None, 7,
     {qeUTF8, "http://www.suruga-ya.jp/search?category=&search_word={W}&adult_s=1&photo=On&inStock=Off"}},
    {"coneco_shopping", "coneco.net", "c&oneco.net", "coneco.net", SiteFlag::None, 8,
     {qeUTF8, "http://www.coneco.net/s/items?keyword={W}&btn=1"}},
};

const SiteRow k_mapSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"google_map", "googleマップ", "googleマップ(&G)", "googleマップ", SiteFlag::Default, 0,
     {qeUTF8, "http://maps.google.co.jp/maps?utm_source=ja-whmaps&f=q&hl=ja&mrt=all&q={W}"}},
    {"yahoo_map", "yahoo!ロコ", "yahoo!ロコ(&Y)", "yahoo!ロコ", SiteFlag::None, 1,
     {qeUTF8, "http://map.yahoo.co.jp/search?p={W}&pop=on&ei=UTF-8"}},
};

const SiteRow k_weatherSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"yahoo_weather", "yahoo!天気", "yahoo!天気(&Y)", "yahoo!天気", SiteFlag::Default, 0,
     {qeUTF8, "http://weather.yahoo.co.jp/bin/search?p={W}"}},
    {"tenkijp_weather", "tenki.jp", "&tenki.jp", "tenki.jp", SiteFlag::None, 1,
     {qeUTF8, "http://tenki.jp/search/zip/?zip_map_pref_id=0&keyword={W}"}},
};

const SiteRow k_musicSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"Voreziv_music", "Voreziv 音楽検索", "Voreziv 音楽検索(&R)", "Voreziv 音楽検索", SiteFlag::Default, 0,
     {qeUTF8, "http://open.spotify.com/search/{W}"}},
    {"utamap_music", "うたまっぷ（アーティスト名）", "うたまっぷ（アーティスト名）(&Y)", "うたまっぷ（アーティスト名）", SiteFlag::None, 1,
     {qeShiftJIS, "http://www.utamap.com/searchkasi.php?searchname=artist&word={W}"}},
    {"utamap2_music", "うたまっぷ（曲名）", "うたまっぷ（曲名）(&X)", "うたまっぷ（曲名）", SiteFlag::None, 2,
     {qeShiftJIS, "http://www.utamap.com/searchkasi.php?searchname=title&word={W}"}},
    {"kashiget_music", "歌詞get（アーティスト名）", "歌詞get（アーティスト名）(&G)", "歌詞get（アーティスト名）", SiteFlag::None, 3,
     {qeShiftJIS, "http://www.kget.jp/result/index.aspx?c=0&a={W}"}},
    {"kashiget2_music", "歌詞get（曲名）", "歌詞get（曲名）(&E)", "歌詞get（曲名）", SiteFlag::None, 4,
     {qeShiftJIS, "http://www.kget.jp/result/index.aspx?c=0&a=&t={W}"}},
};

const SiteRow k_movieSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"youtube_movie", "youtube", "&youtube", "youtube", SiteFlag::Default, 0,
     {qeUTF8, "http://www.youtube.com/results?search_query={W}"}},
    {"nikoniko_movie", "ニコニコ動画", "ニコニコ動画(&X)", "ニコニコ動画", SiteFlag::None, 1,
     {qeUTF8, "http://www.nicovideo.jp/search/{W}"}},
    {"youku_movie", "youku优酷", "youku优酷(&O)", "youku", SiteFlag::None, 2,
     {qeUTF8, "so.youku.com/search_video/q_{W}"}},
    {"Dailymation_movie", "Dailymation", "&Dailymation", "Dailymation", SiteFlag::None, 3,
     {qeUTF8, "http://www.dailymotion.com/relevance/search/{W}"}},
    {"FC2_movie", "FC2動画", "FC2動画(&F)", "FC2動画", SiteFlag::None, 4,
     {qeUTF8, "http://video.fc2.com/movie_search.php?keyword={W}"}},
    {"Saymove_movie", "FC2 Saymove", "F&C2 Saymove", "FC2 Saymove", SiteFlag::None, 5,
     {qeUTF8, "http://say-move.org/comesearch.php?q={W}&sort=view&genre=&sitei=&mode=&p=1"}},
    {"Pandora_movie", "PANDORA.TV", "&PANDORA.TV", "PANDORA.TV", SiteFlag::None, 6,
     {qeUTF8, "http://search.pandora.tv/?&query={W}&sq=JP"}},
    {"Veoh_movie", "Veoh", "&Veoh", "Veoh", SiteFlag::None, 7,
     {qeUTF8, "http://www.veoh.com/find/?query={W}"}},
    {"himawari_movie", "ひまわり", "ひまわり(&W)", "ひまわり", SiteFlag::None, 8,
     {qeUTF8, "http://himado.in/?sort=&sortby=&page=0&cat=&click=1&keyword={W}"}},
    {"jokeroo_movie", "jokeroo", "&jokeroo", "jokeroo", SiteFlag::None, 9,
     {qeUTF8, "http://www.jokeroo.com/all/q/{W}/"}},
    {"Anitube_movie", "Anitube", "&Anitube", "Anitube", SiteFlag::None, 10,
     {qeUTF8, "http://www.anitube.se/search/?search_id={W}"}},
    {"anitan_movie", "アニタン", "アニタン(&U)", "アニタン", SiteFlag::None, 11,
     {qeUTF8, "http://www.anitan.tv/index.php?app=search&ac=s&ts=video&kw={W}"}},
    {"N56com_movie", "56.com", "&56.com", "56.com", SiteFlag::None, 12,
     {qeUTF8, "http://search.pandora.tv/?&query={W}"}},
    {"Letv_movie", "Letv乐视网", "Letv乐视网(&L)", "Letv", SiteFlag::None, 13,
     {qeUTF8, "http://so.le.com/s?wd={W}"}},
    {"NoSub_movie", "No Sub", "&No Sub", "No Sub", SiteFlag::None, 14,
     {qeUTF8, "http://www.nosub.tv/?s={W}"}},
    {"Wat_movie", "Wat TV", "Wa&t TV", "Wat TV", SiteFlag::None, 15,
     {qeUTF8, "http://www.wat.tv/video-streaming/{W}"}},
};

const SiteRow k_QASites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"yahoo_QA", "yahoo!知恵袋", "yahoo!知恵袋(&Y)", "yahoo!知恵袋", SiteFlag::Default, 0,
     {qeUTF8, "http://chiebukuro.search.yahoo.co.jp/search?p={W}&flg=3&class=1&ei=UTF-8&fr=common-navi"}},
    {"goo_QA", "教えて!goo", "教えて!goo(&G)", "教えて！goo", SiteFlag::None, 1,
     {qeEUCJP, "http://oshiete.goo.ne.jp/search_goo/result/?MT={W}"}},
    {"OKWave_QA", "OKWave", "&OKWave", "OKWave", SiteFlag::None, 2,
     {qeUTF8, "http://okwave.jp/searchkeyword/{W}/?sc=true"}},
    {"AskDoctors_QA", "AskDoctors", "&AskDoctors", "AskDoctors", SiteFlag::None, 3,
     {qeEUCJP, "http://www.askdoctors.jp/public/search.do?q={W}&specialty=&prefecture=&city=&searchType=qa&x=0&y=0"}},
    {"hatugen_QA", "発言小町", "発言小町(&X)", "発言小町", SiteFlag::None, 4,
     {qeUTF8, "http://search.yomiuri.co.jp/komachi.html?q={W}&term=365"}},
    {"jineko_QA", "ジネコ", "ジネコ(&W)", "ジネコ", SiteFlag::None, 5,
     {qeUTF8, "http://www.jineko.net/search?query={W}&bbs_type=&image.x=0&image.y=0"}},
};

const SiteRow k_newsSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"Voreziv_news", "Voreziv ニュース検索", "Voreziv ニュース検索(&R)", "Voreziv ニュース検索", SiteFlag::Default, 0,
     {qeUTF8, "http://news.google.co.jp/search/{W}"}},
    {"google_news", "googleニュース", "googleニュース(&G)", "googleニュース", SiteFlag::None, 1,
     {qeUTF8, "https://www.google.co.jp/search?hl=ja&gl=jp&tbm=nws&q={W}"}},
    {"yahoo_news", "yahoo!ニュース", "yahoo!ニュース(&Y)", "yahoo!ニュース", SiteFlag::None, 2,
     {qeUTF8, "http://news.search.yahoo.co.jp/search?ei=UTF-8&p={W}"}},
    {"CeekjpNews_news", "Ceek.jp News", "&Ceek.jp News", "Ceek.jp News", SiteFlag::None, 3,
     {qeEUCJP, "http://news.ceek.jp/search.cgi?q={W}"}},
    {"Nikkei_news", "日本経済新聞", "日本経済新聞(&X)", "日本経済新聞", SiteFlag::None, 4,
     {qeUTF8, "http://www.nikkei.com/search/site/?searchKeyword={W}"}},
    {"yomiuri_news", "読売新聞", "読売新聞(&W)", "読売新聞", SiteFlag::None, 5,
     {qeUTF8, "http://search.yomiuri.co.jp/index.html?q={W}"}},
    {"asahi_news", "朝日新聞", "朝日新聞(&V)", "朝日新聞", SiteFlag::None, 6,
     {qeEUCJP, "http://sitesearch.asahi.com/.cgi/sitesearch/sitesearch.pl?Keywords={W}"}},
    {"mainichi_news", "毎日新聞", "毎日新聞(&U)", "毎日新聞", SiteFlag::None, 7,
     {qeRaw, "http://mainichi.jp/search/?q={W}"}},
    {"sankei_news", "産経新聞", "産経新聞(&T)", "産経新聞", SiteFlag::None, 8,
     {qeUTF8, "http://www.sankei.com/search/article?searchstring={W}"}},
    {"reuters_news", "ロイター", "ロイター(&S)", "ロイター", SiteFlag::None, 9,
     {qeUTF8, "http://jp.reuters.com/rsearch/rcomSearch.do?blob={W}"}},
    {"owarai_news", "お笑いナタリー", "お笑いナタリー(&Q)", "お笑いナタリー", SiteFlag::None, 10,
     {qeUTF8, "http://natalie.mu/owarai/search?query={W}"}},
};

const SiteRow k_PCSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"ITEwords_PC", "IT用語辞典 E-words", "IT用語辞典 E-words(&I)", "IT用語辞典 E-words", SiteFlag::Default, 0,
     {qeShiftJIS, "http://e-words.jp/?q={W}&cx={E1}&cof=FORID%3A10&ie=Shift_JIS&sa=%E8%A1%A8%E7%A4%BA"}},
    {"ASCIIjp_PC", "ASCII.jpデジタル用語辞典", "ASCII.jpデジタル用語辞典(&A)", "ASCII.jpデジタル用語辞典", SiteFlag::None, 1,
     {qeUTF8, "http://yougo.ascii.jp/caltar/Caltar%3A%E6%A4%9C%E7%B4%A2%E7%B5%90%E6%9E%9C?cx={E2}&cof=FORID%3A10&ie=UTF-8&q={W}"}},
};

const SiteRow k_blogSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"Seesaa_blog", "Seesaaブログ", "Seesaaブログ(&S)", "Seesaaブログ", SiteFlag::Default, 0,
     {qeUTF8, "http://blog.seesaa.jp/tag/t/articles+photos+videos+audios/{W}"}},
    {"FC2_blog", "FC2ブログ", "FC2ブログ(&F)", "FC2ブログ", SiteFlag::None, 1,
     {qeUTF8, "http://blog-search.fc2.com/?q={W}&s=f&charset=utf-8"}},
    {"ameba_blog", "アメーバブログ", "アメーバブログ(&Y)", "アメーバブログ", SiteFlag::None, 2,
     {qeUTF8, "http://search.ameba.jp/search.html?q={W}"}},
    {"livedoor_blog", "livedoorブログ", "livedoorブログ(&L)", "livedoorブログ", SiteFlag::None, 3,
     {qeUTF8, "http://search.livedoor.com/blog?c=ld_blog_sb&o_st=livedoor&sm=ldb_top&q={W}&search_btn=%E6%A4%9C%E7%B4%A2"}},
    {"goo_blog", "gooブログ", "gooブログ(&G)", "gooブログ", SiteFlag::None, 4,
     {qeEUCJP, "http://blogsearch.goo.ne.jp/search_goo/result/?ts=goo&tg=all&st=time&dp=all&da=all&MT={W}"}},
    {"cocolog_blog", "ココログ", "ココログ(&X)", "ココログ", SiteFlag::None, 5,
     {qeUTF8, "http://search.nifty.com/blogsearch/search?cflg=%E6%A4%9C%E7%B4%A2&q={W}&submit=%E6%A4%9C%E7%B4%A2&type=fromcoco"}},
};

const SiteRow k_BBSSites[] = {
    // SiteKey, caption, menu label (nullptr: no menu entry), stored name, flags, dispatch rank,
    // template (English text when a second one follows), template for other text
    {"N2ch_BBS", "2チャンネル", "2チャンネル(&2)", "2ちゃんねる", SiteFlag::Default, 0,
     {qeShiftJIS, "http://find.5ch.net/?STR={W}&TYPE=TITLE&x=0&y=0&BBS=ALL&ENCODING=SJIS&COUNT=50"}},
    {"rogusoku_BBS", "ログ速(2ch過去ログ)", "ログ速(2ch過去ログ)(&C)", "ログ速(2ch過去ログ)", SiteFlag::None, 1,
     {qeUTF8, "http://www.logsoku.com/search.php?query={W}"}},
    {"N2chMONAMI_BBS", "2ch検索モナミ", "2ch検索モナミ(&H)", "2ch検索モナミ", SiteFlag::None, 2,
     {qeUTF8, "http://www.google.co.jp/cse?cx={E3}&ie=UTF-8&q={W}&ref={R}#gsc.tab=0&gsc.q={W}&gsc.page=1+"}},
    {"yahoo_BBS", "yahoo!掲示板", "yahoo!掲示板(&Y)", "yahoo!掲示板", SiteFlag::None, 3,
     {qeUTF8, "http://search.livedoor.com/blog?c=ld_blog_sb&o_st=livedoor&sm=ldb_top&q={W}&search_btn=%E6%A4%9C%E7%B4%A2"}},
    {"sitaraba_BBS", "したらば掲示板", "したらば掲示板(&X)", "したらば掲示板", SiteFlag::None, 4,
     {qeShiftJIS, "https://www.google.co.jp/search?q={W}&ie=Shift_JIS&oe=Shift_JIS&hl=ja&btnG=%83T%83C%83g%93%E0+%8C%9F%8D%F5&sitesearch={D1}#hl=ja&inlang=ja&safe=off&tbo=d&oe=Shift_JIS&sclient=psy-ab&q={W}+site:{H}&oq={W}+site:{H}&gs_l={G}&pbx=1&fp=1&bpcl=39650382&biw=1787&bih=1159&cad=b&sei=undefined&bav=on.2,or.r_gc.r_pw.r_qf.&sei=undefined"}},
    {"Delphi_BBS", "Delphi Q&&A BBS", "&Delphi Q&&A BBS", "Delphi Q&&A BBS", SiteFlag::None, 5,
     {qeShiftJIS, "https://www.google.co.jp/search?q={W}&ie=Shift_JIS&oe=Shift_JIS&hl=ja&btnG=%83T%83C%83g%93%E0+%8C%9F%8D%F5&sitesearch={D1}"}},
    {"DelphiML_BBS", "Delphi_ML", "D&elphi_ML", "Delphi ML", SiteFlag::None, 6,
     {qeEUCJP, "http://www.mail-archive.com{M}?screen=0&select=0&key={W}"}},
    {"VCBBS_BBS", "Visual C++ Q&&A BBS", "&Visual C++ Q&&A BBS", "Visual C++ Q&&A BBS", SiteFlag::None, 7,
     {qeShiftJIS, "https://www.google.co.jp/search?q={W}&ie=Shift_JIS&oe=Shift_JIS&hl=ja&btnG=%83T%83C%83g%93%E0+%8C%9F%8D%F5&sitesearch={D2}"}},
    {"CSharpandVBNET_BBS", "C# と VB.NET の質問掲示板", "C# と VB.NET の質問掲示板(&B)", "C# と VB.NET の質問掲示板", SiteFlag::None, 8,
     {qeShiftJIS, "https://www.google.co.jp/search?q={W}&ie=Shift_JIS&oe=Shift_JIS&hl=ja&btnG=%83T%83C%83g%93%E0+%8C%9F%8D%F5&sitesearch={D3}"}},
};

const SlotRow kSlots[26] = {
    {"kokugo", "Settei_kokugo_Button", "A_Settei_kokugo_Button", "国語", "国語", "yahoo!国語辞書",
     "Action2", "国語辞書(&Z)", "A_no_uses_kokugo_check", k_kokugoSites, nullptr, 1},
    {"eiwa", "Settei_eiwa_Button", "A_Settei_eiwa_Button", "英和、和英", "英和、和英", "yahoo!英和、和英",
     "Action10", "英和、和英辞典(&Y)", "A_no_uses_eiwa_check", k_eiwaSites, nullptr, 1},
    {"eiwa2", "Settei_eiwa_Button2", "A_Settei_eiwa_Button2", "英和・和英2", "英和・和英2", "",
     "Action9", "英和、和英辞典2(&2)", "A_no_uses_2_eiwa_check", {}, "eiwa", 2},
    {"eiwa3", "Settei_eiwa_Button3", "A_Settei_eiwa_Button3", "英和、和英3", "英和、和英3", "",
     "Action37", "英和、和英辞典3(&3)", "A_no_uses_3_eiwa_check", {}, "eiwa", 3},
    {"eiei", "Settei_eiei_Button", "A_Settei_eiei_Button", "英英", "英英", "LongmanWebDictionary_eiei_check",
     "Action12", "英英辞典(&X)", "A_no_uses_eiei_check", k_eieiSites, nullptr, 1},
    {"eiei2", "Settei_eiei_Button2", "A_Settei_eiei_Button2", "英英2", "英英2", "",
     "Action38", "英英辞典2(&C)", "A_no_uses_2_eiei_check", {}, "eiei", 2},
    {"eiei3", "Settei_eiei_Button3", "A_Settei_eiei_Button3", "英英3", "英英3", "",
     "Action39", "英英辞典3(&D)", "A_no_uses_3_eiei_check", {}, "eiei", 3},
    {"tyuugokugo", "Settei_tyuugokugo_Button", "A_Settei_tyuugokugo_button", "中国語", "中国語", "NAVER中国語",
     "Action11", "中国語辞典(&W)", "A_no_uses_tyuugokugo_check", k_tyuugokugoSites, nullptr, 1},
    {"kankokugo", "Settei_kankokugo_Button", "A_Settei_Kankokugo_Button", "韓国語", "韓国語", "NAVER韓国語辞典",
     "Action13", "韓国語辞書(&V)", "A_no_uses_kankokugo_check", k_kankokugoSites, nullptr, 1},
    {"Honyaku", "Settei_Honyaku_Button", "A_Settei_Honyaku_Button", "翻訳", "翻訳", "google翻訳　自動検出→日本語",
     "Action14", "翻訳(&U)", "A_no_uses_Honyaku_check", k_HonyakuSites, nullptr, 1},
    {"hyakka", "Settei_hyakka_Button", "A_Settei_hyakka_Button", "百科", "百科", "Wikipedia",
     "Action15", "百科事典(&T)", "A_no_uses_hyakka_check", k_hyakkaSites, nullptr, 1},
    {"ruigo", "Settei_ruigo_Button", "A_Settei_ruigo_Button", "類語", "類語", "weblio類語辞典",
     "Action16", "類語辞典(&S)", "A_no_uses_ruigo_check", k_ruigoSites, nullptr, 1},
    {"kensaku", "Settei_kensaku_Button", "A_Settei_kensaku_Button", "検索", "検索", "google",
     "Action19", "検索エンジン(&R)", "A_no_uses_kensaku_check", k_kensakuSites, nullptr, 1},
    {"auction", "Settei_auction_Button", "A_Settei_auction_Button", "競売", "オークション", "Voreziv オークション検索",
     "Action21", "オークション(&O)", "A_no_uses_Auction_check", k_auctionSites, nullptr, 1},
    {"shopping", "Settei_shopping_Button", "A_Settei_shopping_Button", "買物", "買物", "amazon",
     "Action20", "ショッピング(&Q)", "A_no_uses_shopping_check", k_shoppingSites, nullptr, 1},
    {"shopping2", "Settei_shopping_Button2", "A_Settei_shopping_Button2", "買物2", "買物2", "",
     "Action40", "ショッピング2", "A_no_uses_2_shopping_check", {}, "shopping", 2},
    {"shopping3", "Settei_shopping_Button3", "A_Settei_shopping_Button3", "買物3", "買物3", "",
     "Action41", "ショッピング3", "A_no_uses_3_shopping_check", {}, "shopping", 3},
    {"map", "Settei_map_Button", "A_Settei_map_Button", "Map", "Map", "googleマップ",
     "Action26", "地図(&P)", "A_no_uses_map_check", k_mapSites, nullptr, 1},
    {"weather", "Settei_weather_Button", "A_Settei_weather_Button", "天気", "天気", "yahoo!天気",
     "Action28", "天気(&L)", "A_no_uses_weather_check", k_weatherSites, nullptr, 1},
    {"music", "Settei_music_Button", "A_Settei_music_Button", "音楽", "音楽", "Voreziv 音楽検索",
     "Action27", "音楽・歌詞(&N)", "A_no_uses_music_check", k_musicSites, nullptr, 1},
    {"movie", "Settei_movie_Button", "A_Settei_movie_Button", "動画", "動画", "youtube",
     "Action29", "動画(&M)", "A_no_uses_movie_check", k_movieSites, nullptr, 1},
    {"QA", "Settei_QA_Button", "A_Settei_QA_Button", "質問", "質問", "yahoo!知恵袋",
     "Action31", "質問・回答(&K)", "A_no_uses_QA_check", k_QASites, nullptr, 1},
    {"news", "Settei_news_Button", "A_Settei_news_Button", "News", "News", "Vuravuv ニュース検索",
     "Action32", "ニュース検索(&J)", "A_no_uses_news_check", k_newsSites, nullptr, 1},
    {"PC", "Settei_PC_Button", "A_Settei_pc_Button", "IT", "IT", "IT用語辞典 E-words",
     "Action33", "パソコン用語(&I)", "A_no_uses_PC_check", k_PCSites, nullptr, 1},
    {"blog", "Settei_blog_Button", "A_settei_blog_button", "blog", "blog", "Seesaaブログ",
     "Action34", "ブログ(&H)", "A_no_uses_blog_check", k_blogSites, nullptr, 1},
    {"BBS", "Settei_BBS_Button", "A_Settei_BBS_Button", "BBS", "BBS", "2ちゃんねる",
     "Action35", "掲示板(&G)", "A_no_uses_BBS_check", k_BBSSites, nullptr, 1},
};

const DerivedMenuLabel kDerivedMenuLabels[] = {
    {"eiwa2", "yahoo_eiwa", "yahoo!英和、和英(&Y)"},
    {"eiwa3", "yahoo_eiwa", "yahoo!英和、和英(&Y)"},
    {"shopping2", "yodobashi_shopping", "ヨドバシ.com(&O)"},
    {"shopping3", "yodobashi_shopping", "ヨドバシ.com(&O)"},
    {"shopping2", "coneco_shopping", "con&eco.net"},
    {"shopping3", "coneco_shopping", "coneco.net"},
};

const DerivedFirstSite kDerivedFirstSites[] = {
    {"eiwa2", "ALC_eiwa"},
    {"eiwa3", "ALC_eiwa"},
};

// Constants of outside services inside the templates. None of them claims an account:
// the shop link carries no affiliate tag, and the site searches name public boards.
const FixedValue kFixedValues[] = {
    {"T", ""},                                             // Amazon associate tag: none
    {"E1", ""},                                            // e-Words site search engine id
    {"E2", ""},                                            // ASCII glossary search engine id
    {"E3", ""},                                            // forum search engine id
    {"R", "http%3A%2F%2Fwww.google.co.jp%2Furl%3Fq%3Dhttp%3A%2F%2Ffind.5ch.net%2F"}, // referrer
    {"D1", "ja.stackoverflow.com%2Fquestions%2Ftagged%2Fdelphi"}, // Delphi Q&A board
    {"D2", "learn.microsoft.com%2Fja-jp%2Fanswers"},      // Visual C++ Q&A board
    {"D3", "dobon.net/"},                                  // C# and VB.NET board
    {"H", "http%3A%2F%2Fjbbs.shitaraba.net%2F"},           // rental board service
    {"G", ""},                                             // search-session value
    {"M", "/search"},                                      // mailing-list archive search
};

} // namespace lookup::table
