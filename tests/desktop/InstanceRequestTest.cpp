// The requests one start of the program sends the running instance: each survives its line,
// and a line that is not exactly one of them is no request.
#include "desktop/InstanceRequest.h"

#include <gtest/gtest.h>

namespace {

using desktop::InstanceRequest;

struct RoundTripCase {
    const char* name;
    InstanceRequest request;
};

void PrintTo(const RoundTripCase& row, std::ostream* out) {
    *out << row.name;
}

class RequestLine : public testing::TestWithParam<RoundTripCase> {};

TEST_P(RequestLine, IsOneLineThatDecodesToTheSameRequest) {
    const QByteArray line = GetParam().request.encoded();
    EXPECT_TRUE(line.endsWith('\n'));
    EXPECT_EQ(line.count('\n'), 1) << line.constData();
    EXPECT_LE(line.size(), InstanceRequest::kMaxLineBytes);
    EXPECT_EQ(InstanceRequest::decode(line), GetParam().request);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RequestLine,
    testing::Values(
        RoundTripCase{"ComeForward", InstanceRequest::comeForward()},
        RoundTripCase{"TogglePause", InstanceRequest::togglePause()},
        RoundTripCase{"LookUpJapanese", InstanceRequest::lookUp(QStringLiteral("国語辞典"))},
        RoundTripCase{"LookUpWithLineEnds", InstanceRequest::lookUp(QStringLiteral("a\nb\r\n"))},
        RoundTripCase{"LookUpLongestAscii",
                      InstanceRequest::lookUp(QString(InstanceRequest::kMaxTextBytes, u'a'))},
        RoundTripCase{"LookUpLongestJapanese",
                      InstanceRequest::lookUp(QString(InstanceRequest::kMaxTextBytes / 3, u'猫'))}),
    [](const auto& info) { return std::string(info.param.name); });

struct TextCase {
    const char* name;
    QString text;
    bool sendable;
};

void PrintTo(const TextCase& row, std::ostream* out) {
    *out << row.name;
}

class LookUpText : public testing::TestWithParam<TextCase> {};

TEST_P(LookUpText, IsSendableOnlyWhenThereIsSomethingToLookUpWithinTheBound) {
    EXPECT_EQ(InstanceRequest::whyNotLookUpText(GetParam().text).isEmpty(), GetParam().sendable);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LookUpText,
    testing::Values(TextCase{"Word", QStringLiteral("word"), true},
                    TextCase{"Empty", QString(), false},
                    TextCase{"Blanks", QStringLiteral(" \t\n　"), false},
                    TextCase{"AtTheBound", QString(InstanceRequest::kMaxTextBytes, u'a'), true},
                    TextCase{"PastTheBoundInUtf8",
                             QString(InstanceRequest::kMaxTextBytes / 3 + 1, u'猫'), false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
