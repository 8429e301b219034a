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
        RoundTripCase{"ComeForwardWithKWinToken",
                      InstanceRequest::comeForward("3f2c9a1e-5b7d-4c1a-9e8f-0a1b2c3d4e5f")},
        RoundTripCase{"ComeForwardWithGnomeToken",
                      InstanceRequest::comeForward("gnome-shell/Terminal/2934-2-host_TIME123")},
        RoundTripCase{"ComeForwardWithLongestToken",
                      InstanceRequest::comeForward(
                          QByteArray(InstanceRequest::kMaxActivationTokenBytes, 'x'))},
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

// The token a command was given goes along only when it can be one: a variable set to
// anything else must not turn the request into a line the running instance refuses.
struct TokenCase {
    const char* name;
    QByteArray given;
    QString sent;
};

void PrintTo(const TokenCase& row, std::ostream* out) {
    *out << row.name;
}

class ActivationToken : public testing::TestWithParam<TokenCase> {};

TEST_P(ActivationToken, GoesAlongOnlyWhenPlausible) {
    const InstanceRequest request = InstanceRequest::comeForward(GetParam().given);
    EXPECT_EQ(request.kind, InstanceRequest::Kind::ComeForward);
    EXPECT_EQ(request.activationToken(), GetParam().sent);
    EXPECT_EQ(InstanceRequest::decode(request.encoded()), request);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ActivationToken,
    testing::Values(
        TokenCase{"None", {}, {}},
        TokenCase{"Sway", "a1b2c3d4e5f60718293a4b5c6d7e8f90", "a1b2c3d4e5f60718293a4b5c6d7e8f90"},
        TokenCase{"AtTheBound", QByteArray(InstanceRequest::kMaxActivationTokenBytes, 't'),
                  QString(InstanceRequest::kMaxActivationTokenBytes, u't')},
        TokenCase{
            "PastTheBound", QByteArray(InstanceRequest::kMaxActivationTokenBytes + 1, 't'), {}},
        TokenCase{"WithABlank", "two words", {}},
        TokenCase{"WithALineEnd", "token\nlook-up eA==", {}},
        TokenCase{"NotAscii", "\xe7\x8c\xab", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Only the request lines themselves are requests; a token on any other line is not.
struct ForeignLineCase {
    const char* name;
    QByteArray line;
};

void PrintTo(const ForeignLineCase& row, std::ostream* out) {
    *out << row.name;
}

class ForeignLine : public testing::TestWithParam<ForeignLineCase> {};

TEST_P(ForeignLine, IsNoRequest) {
    EXPECT_EQ(InstanceRequest::decode(GetParam().line), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ForeignLine,
    testing::Values(ForeignLineCase{"EmptyToken", "come-forward \n"},
                    ForeignLineCase{"TwoTokens", "come-forward a b\n"},
                    ForeignLineCase{"ControlCharacterInToken", "come-forward a\tb\n"},
                    ForeignLineCase{
                        "TokenTooLong",
                        "come-forward " +
                            QByteArray(InstanceRequest::kMaxActivationTokenBytes + 1, 'a') + "\n"},
                    ForeignLineCase{"TokenOnTogglePause", "toggle-pause abc\n"},
                    ForeignLineCase{"TokenWithoutLineEnd", "come-forward abc"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
