#include "desktop/ClipboardReadPlan.h"

#include <gtest/gtest.h>

using desktop::ClipboardReadPlan;

namespace {

// Format lists as real owners offer them on X11.
struct PlanCase {
    const char* name;
    QStringList formats;
    const char* fileList; // the URL list to check first, "" for none
    const char* text;     // the format the text comes from, "" for no text
    bool html;
};

class Plan : public testing::TestWithParam<PlanCase> {};

TEST_P(Plan, ForFormats) {
    const ClipboardReadPlan plan = ClipboardReadPlan::forFormats(GetParam().formats);
    EXPECT_EQ(plan.fileListFormat, QString::fromLatin1(GetParam().fileList));
    EXPECT_EQ(plan.textFormat, QString::fromLatin1(GetParam().text));
    EXPECT_EQ(plan.textIsHtml, GetParam().html);
}

const QStringList kTextEditor{"TIMESTAMP",    "TARGETS",     "MULTIPLE",
                              "SAVE_TARGETS", "UTF8_STRING", "COMPOUND_TEXT",
                              "TEXT",         "STRING",      "text/plain;charset=utf-8",
                              "text/plain"};
const QStringList kBrowserSelection{"TIMESTAMP",
                                    "TARGETS",
                                    "MULTIPLE",
                                    "text/html",
                                    "text/_moz_htmlcontext",
                                    "text/_moz_htmlinfo",
                                    "UTF8_STRING",
                                    "COMPOUND_TEXT",
                                    "TEXT",
                                    "STRING",
                                    "text/plain;charset=utf-8",
                                    "text/plain",
                                    "text/x-moz-url-priv"};
const QStringList kOfficeSelection{"TARGETS",
                                   "MULTIPLE",
                                   "text/html",
                                   "text/rtf",
                                   "text/richtext",
                                   "application/x-openoffice-embed-source-xml",
                                   "text/plain;charset=utf-8",
                                   "UTF8_STRING",
                                   "STRING",
                                   "TEXT"};
const QStringList kFileManager{
    "TIMESTAMP",     "TARGETS",     "MULTIPLE", "x-special/gnome-copied-files",
    "text/uri-list", "UTF8_STRING", "STRING",   "text/plain;charset=utf-8",
    "text/plain"};
const QStringList kKdeFileManager{"TARGETS",       "MULTIPLE",
                                  "text/uri-list", "application/x-kde4-urilist",
                                  "text/plain",    "text/plain;charset=utf-8",
                                  "UTF8_STRING"};
const QStringList kBrowserImage{"TIMESTAMP",          "TARGETS",   "MULTIPLE",   "text/html",
                                "text/_moz_htmlinfo", "image/png", "image/jpeg", "image/bmp"};
const QStringList kImageViewer{"TARGETS", "MULTIPLE", "image/png", "image/bmp",
                               "application/x-qt-image"};

INSTANTIATE_TEST_SUITE_P(
    Owners, Plan,
    testing::Values(
        PlanCase{"TextEditor", kTextEditor, "", "UTF8_STRING", false},
        PlanCase{"XclipUtf8Only", {"TARGETS", "UTF8_STRING"}, "", "UTF8_STRING", false},
        PlanCase{"BrowserTextIsThePlainText", kBrowserSelection, "", "UTF8_STRING", false},
        PlanCase{"OfficeTextIsThePlainText", kOfficeSelection, "", "UTF8_STRING", false},
        PlanCase{"HtmlOnlyBecomesPlainText", {"TARGETS", "text/html"}, "", "text/html", true},
        PlanCase{"Latin1Only", {"TARGETS", "STRING"}, "", "STRING", false},
        PlanCase{"FilesAreCheckedFirst", kFileManager, "text/uri-list", "UTF8_STRING", false},
        PlanCase{"KdeFilesAreCheckedFirst", kKdeFileManager, "text/uri-list", "UTF8_STRING", false},
        PlanCase{"GnomeCopiedFilesAlone",
                 {"TARGETS", "x-special/gnome-copied-files"},
                 "x-special/gnome-copied-files",
                 "",
                 false},
        PlanCase{"BrowserImageHtmlIsNoWord", kBrowserImage, "", "", false},
        PlanCase{"ImageIsNoWord", kImageViewer, "", "", false},
        PlanCase{"RtfAloneIsNoWord", {"TARGETS", "text/rtf"}, "", "", false},
        PlanCase{"NothingOffered", {}, "", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

struct UriListCase {
    const char* name;
    const char* list;
    bool localFiles;
};

class UriList : public testing::TestWithParam<UriListCase> {};

TEST_P(UriList, IsLocalFileList) {
    EXPECT_EQ(desktop::isLocalFileList(GetParam().list), GetParam().localFiles);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, UriList,
    testing::Values(UriListCase{"OneFile", "file:///home/user/%E8%BE%9E%E6%9B%B8.txt\r\n", true},
                    UriListCase{"TwoFilesNoFinalBreak", "file:///tmp/a\r\nfile:///tmp/b", true},
                    UriListCase{"CommentsIgnored", "# copied\r\nfile:///tmp/a\r\n", true},
                    UriListCase{"GnomeCopiedFiles", "copy\nfile:///tmp/a\nfile:///tmp/b", true},
                    UriListCase{"GnomeCutFiles", "cut\nfile:///tmp/a", true},
                    UriListCase{"WebAddressIsNotAFile", "https://example.com/page\r\n", false},
                    UriListCase{"MixedIsNotOnlyFiles", "file:///tmp/a\r\nhttp://example.com/\r\n",
                                false},
                    UriListCase{"EmptyListIsNotFiles", "", false},
                    UriListCase{"OnlyCommentsIsNotFiles", "# nothing\r\n", false},
                    UriListCase{"PlainWordIsNotAFile", "辞書", false}),
    [](const auto& info) { return std::string(info.param.name); });

struct DecodeCase {
    const char* name;
    QByteArray data;
    const char* format;
    const char16_t* text;
};

class Decode : public testing::TestWithParam<DecodeCase> {};

TEST_P(Decode, Text) {
    EXPECT_EQ(desktop::decodeClipboardText(GetParam().data, QString::fromLatin1(GetParam().format)),
              QString::fromUtf16(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, Decode,
    testing::Values(
        DecodeCase{"Utf8", QByteArray("辞書 dictionary"), "UTF8_STRING", u"辞書 dictionary"},
        DecodeCase{"Latin1String", QByteArray("caf\xE9"), "STRING", u"café"},
        DecodeCase{"HtmlUtf16WithMark", QByteArray("\xFF\xFE<\0b\0>\0", 8), "text/html", u"<b>"},
        DecodeCase{"Utf8MarkDropped", QByteArray("\xEF\xBB\xBFword"), "text/plain", u"word"},
        DecodeCase{"TerminatingNulDropped", QByteArray("word\0", 5), "UTF8_STRING", u"word"},
        DecodeCase{"LineBreaksKept", QByteArray(" two\r\nlines "), "UTF8_STRING",
                   u" two\r\nlines "}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
