#include "settings/LineText.h"

#include "DefaultSettingsFile.h"
#include "lookup/Catalogue.h"
#include "lookup/CodePage932.h"
#include "settings/CategoryVisibility.h"
#include "settings/CodePage932Decoder.h"

#include <gtest/gtest.h>

using namespace settings;
using namespace testfiles;

namespace {

struct LinesCase {
    const char* name;
    QByteArray bytes;
    QStringList lines;
};

void PrintTo(const LinesCase& c, std::ostream* os) {
    *os << c.name;
}

class LinesFromBytes : public ::testing::TestWithParam<LinesCase> {};

} // namespace

TEST_P(LinesFromBytes, ReadsTheLines) {
    EXPECT_EQ(linesFromBytes(GetParam().bytes, 100), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    LineEnds, LinesFromBytes,
    ::testing::Values(LinesCase{"empty", QByteArray(), {}},
                      LinesCase{"crlf", "a\r\nb\r\n", {"a", "b"}},
                      LinesCase{"lf", "a\nb\n", {"a", "b"}}, LinesCase{"cr", "a\rb\r", {"a", "b"}},
                      LinesCase{"no_final_end", "a\r\nb", {"a", "b"}},
                      LinesCase{"mixed", "a\r\nb\nc\rd\r\n", {"a", "b", "c", "d"}},
                      // CR CR LF: the first CR ends a line, the CR LF ends an empty one.
                      LinesCase{"cr_crlf", "a\r\r\nb", {"a", "", "b"}},
                      // LF CR is two ends, not one.
                      LinesCase{"lf_cr", "a\n\rb", {"a", "", "b"}},
                      LinesCase{"empty_lines", "\r\n\r\nx\r\n", {"", "", "x"}},
                      LinesCase{"only_end", "\r\n", {""}},
                      LinesCase{"blanks_kept", " a \r\n\t\r\n", {" a ", "\t"}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Encodings, LinesFromBytes,
    ::testing::Values(
        LinesCase{"cp932", "\x8E\x67\x82\xED\x82\xC8\x82\xA2\r\nOK\r\n", {u("使わない"), "OK"}},
        LinesCase{"utf8_bom",
                  "\xEF\xBB\xBF\xE4\xBD\xBF\xE3\x82\x8F\xE3\x81\xAA\xE3\x81\x84\r\nOK",
                  {u("使わない"), "OK"}},
        LinesCase{"utf16le_bom", QByteArray("\xFF\xFE\x7F\x4F\r\0\n\0O\0", 10), {u("使"), "O"}},
        LinesCase{"utf16be_bom", QByteArray("\xFE\xFF\x4F\x7F\0\r\0\n\0O", 10), {u("使"), "O"}},
        // A lead byte right before a line end takes nothing of it.
        LinesCase{"lead_before_crlf", "\x82\r\nTrue", {u("\xEF\xBF\xBD"), "True"}},
        LinesCase{"lead_at_end", "True\r\n\x82", {"True", u("\xEF\xBF\xBD")}},
        LinesCase{"nul_kept", QByteArray("a\0b\r\n", 5), {QString(QChar(u'a')) + QChar(0) + u'b'}}),
    [](const auto& info) { return std::string(info.param.name); });

// Without a mark, UTF-8 is read as code page 932 like any other bytes: garbled, but line for
// line, so the lines after it keep their meaning.
TEST(LinesFromBytes, UnmarkedUtf8KeepsTheLines) {
    const QStringList lines = linesFromBytes("\xE4\xBD\xBF\xE3\x82\x8F\r\nTrue\r\n", 10);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_NE(lines[0], u("使わ"));
    EXPECT_EQ(lines[1], "True");
}

TEST(LinesFromBytes, StopsAtTheLimit) {
    EXPECT_EQ(linesFromBytes("a\r\nb\r\nc\r\n", 2), QStringList({"a", "b"}));
    EXPECT_EQ(linesFromBytes("a\r\nb\r\nc\r\n", 0), QStringList());
}

// Windows decodes both codes of each NEC and IBM duplicate to one character, and the codes
// the best-fit characters share to the full-width twin.
TEST(CodePage932Decoder, AgreesWithWindows) {
    const struct {
        const char* bytes;
        char16_t expected;
    } cases[] = {
        {"\x81\x60", 0xFF5E}, // ～ (U+301C 〜 is written with the same code)
        {"\x81\x61", 0x2225}, {"\x81\x7C", 0xFF0D}, {"\x81\x91", 0xFFE0}, {"\x81\x92", 0xFFE1},
        {"\x81\xCA", 0xFFE2}, {"\x87\x40", 0x2460},                       // ①
        {"\x81\xE6", 0x2235}, {"\x87\x9A", 0x2235}, {"\xFA\x5B", 0x2235}, // ∵ three times
        {"\xED\x40", 0x7E8A}, {"\xFA\x5C", 0x7E8A},                       // 纊 twice
        {"\xFB\xFC", 0x9AD9},                                             // 髙
        {"\x5C", 0x005C},     {"\x7E", 0x007E},     {"\xB1", 0xFF71},     // ｱ
        {"\x80", 0x0080},     {"\xA0", 0xF8F0},     {"\xFD", 0xF8F1},     {"\xFF", 0xF8F3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fromCodePage932(QByteArrayView(c.bytes)), QString(QChar(c.expected)))
            << std::hex << int(c.expected);
}

TEST(CodePage932Decoder, UndefinedCodes) {
    // An undefined pair is one replacement; a lead byte with a byte that can not trail it
    // gives one replacement and the byte is read by itself.
    EXPECT_EQ(fromCodePage932("\x85\x40x"), QString(QChar(0xFFFD)) + u'x');
    EXPECT_EQ(fromCodePage932("\x82\x30"), QString(QChar(0xFFFD)) + u'0');
    EXPECT_EQ(fromCodePage932("\x82\x7F"), QString(QChar(0xFFFD)) + QChar(0x7F));
}

// Every character the encoder gives a code to reads back as a character with that code: a
// decoder table that drifted from the encoder's would break the round trip of user files.
TEST(CodePage932Decoder, ReadsBackEveryEncodedCharacter) {
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const QString one = QChar(char16_t(c));
        const QByteArray bytes = lookup::toCodePage932(one);
        if (bytes == "?" && c != u'?')
            continue;
        const QString back = fromCodePage932(bytes);
        ASSERT_EQ(lookup::toCodePage932(back), bytes) << std::hex << unsigned(c);
    }
}

TEST(BytesFromLines, CodePage932WithCrLfAfterEveryLine) {
    EXPECT_EQ(bytesFromLines({u("使わない"), "True", ""}),
              QByteArray("\x8E\x67\x82\xED\x82\xC8\x82\xA2\r\nTrue\r\n\r\n"));
    EXPECT_EQ(bytesFromLines({}), QByteArray());
}

// A line end inside a value would shift every later line of the file.
TEST(BytesFromLines, LineEndsInsideAValueBecomeSpaces) {
    const QByteArray bytes = bytesFromLines({"host\r\n:8080", "a\rb\nc"});
    EXPECT_EQ(bytes, QByteArray("host  :8080\r\na b c\r\n"));
    EXPECT_EQ(linesFromBytes(bytes, 10).size(), 2);
}

// Every word the two files can hold goes out and comes back unchanged, byte for byte.
TEST(BytesFromLines, EveryStoredWordRoundTrips) {
    QStringList words;
    for (const lookup::SiteEntry& entry : lookup::Catalogue::instance().entries())
        words << entry.storedName;
    for (int line = 0; line < CategoryVisibility::kLineCount; ++line)
        words << CategoryVisibility::labelOfLine(line);
    words << u("高い") << u("普通") << u("低い") << u("リアルタイム") << u("小") << u("中")
          << u("大") << "Max"
          << "true"
          << "fales"
          << "True"
          << "False";
    const QByteArray bytes = bytesFromLines(words);
    EXPECT_EQ(bytes.count('?'), 0);
    EXPECT_EQ(linesFromBytes(bytes, words.size() + 1), words);
    EXPECT_EQ(bytesFromLines(linesFromBytes(bytes, words.size())), bytes);
}
