#include "settings/ProxyAddress.h"

#include <gtest/gtest.h>

using settings::ProxyAddress;

struct GoodAddress {
    const char* name;
    const char16_t* typed;
    const char* host;
    int port;
    const char* written; // toString()
};

class ReadsHostAndPort : public testing::TestWithParam<GoodAddress> {};

TEST_P(ReadsHostAndPort, AsTyped) {
    QString error = QStringLiteral("untouched");
    const std::optional<ProxyAddress> address =
        ProxyAddress::parse(QString::fromUtf16(GetParam().typed), &error);
    ASSERT_TRUE(address) << error.toStdString();
    EXPECT_EQ(address->host(), QString::fromLatin1(GetParam().host));
    EXPECT_EQ(address->port(), GetParam().port);
    EXPECT_EQ(address->toString(), QString::fromLatin1(GetParam().written));
    EXPECT_EQ(error, QStringLiteral("untouched"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadsHostAndPort,
    testing::Values(
        GoodAddress{"Ipv4", u"192.168.0.1:8080", "192.168.0.1", 8080, "192.168.0.1:8080"},
        GoodAddress{"HostName", u"proxy.example.jp:3128", "proxy.example.jp", 3128,
                    "proxy.example.jp:3128"},
        GoodAddress{"SingleLabel", u"squid:8080", "squid", 8080, "squid:8080"},
        GoodAddress{"Capitals", u"Proxy.Example.JP:80", "proxy.example.jp", 80,
                    "proxy.example.jp:80"},
        GoodAddress{"BlanksAround", u"  10.0.0.1:8080\t", "10.0.0.1", 8080, "10.0.0.1:8080"},
        GoodAddress{"HttpSchemeAndSlash", u"http://10.0.0.1:8080/", "10.0.0.1", 8080,
                    "10.0.0.1:8080"},
        GoodAddress{"SchemeInCapitals", u"HTTP://10.0.0.1:8080", "10.0.0.1", 8080, "10.0.0.1:8080"},
        GoodAddress{"LowestPort", u"h.test:1", "h.test", 1, "h.test:1"},
        GoodAddress{"HighestPort", u"h.test:65535", "h.test", 65535, "h.test:65535"},
        GoodAddress{"PortWithLeadingZero", u"h.test:08080", "h.test", 8080, "h.test:8080"},
        GoodAddress{"Ipv6InBrackets", u"[::1]:8080", "::1", 8080, "[::1]:8080"},
        GoodAddress{"Ipv6WrittenLong", u"[2001:DB8:0:0:0:0:0:1]:3128", "2001:db8::1", 3128,
                    "[2001:db8::1]:3128"},
        GoodAddress{"JapaneseHostName", u"プロキシ.jp:8080", "xn--nckua8gwd.jp", 8080,
                    "xn--nckua8gwd.jp:8080"},
        GoodAddress{"HyphenInsideALabel", u"my-proxy.test:8080", "my-proxy.test", 8080,
                    "my-proxy.test:8080"}),
    [](const auto& info) { return std::string(info.param.name); });

// Each text is refused with a message that quotes it, names what is wrong and shows how an
// address is written.
struct BadAddress {
    const char* name;
    const char16_t* typed;
    const char16_t* reason;
};

class RefusesWhatNamesNoServer : public testing::TestWithParam<BadAddress> {};

TEST_P(RefusesWhatNamesNoServer, WithAMessage) {
    const QString typed = QString::fromUtf16(GetParam().typed);
    QString error;
    EXPECT_FALSE(ProxyAddress::parse(typed, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("「%1」").arg(typed.trimmed())))
        << error.toStdString();
    EXPECT_TRUE(error.contains(QString::fromUtf16(GetParam().reason))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("192.168.0.1:8080"))) << error.toStdString();
    EXPECT_FALSE(ProxyAddress::parse(typed)); // no place for the message: the same answer
}

constexpr const char16_t* kNoPort = u"ポート番号がありません";
constexpr const char16_t* kBadPort = u"1 から 65535";
constexpr const char16_t* kBadHost = u"ホスト名としても IP アドレスとしても読めません";
constexpr const char16_t* kExtra = u"余分な文字";

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusesWhatNamesNoServer,
    testing::Values(
        BadAddress{"TheDialogsOwnExample", u"*.*.*.*:8080", kBadHost},
        BadAddress{"NoPort", u"192.168.0.1", kNoPort},
        BadAddress{"ColonWithoutPort", u"192.168.0.1:", kNoPort},
        BadAddress{"PortZero", u"h.test:0", kBadPort},
        BadAddress{"PortTooLarge", u"h.test:65536", kBadPort},
        BadAddress{"PortFarTooLarge", u"h.test:9999999999", kBadPort},
        BadAddress{"PortWithLetters", u"h.test:80a", kBadPort},
        BadAddress{"NegativePort", u"h.test:-1", kBadPort},
        BadAddress{"FullWidthDigits", u"h.test:８０８０", kBadPort},
        BadAddress{"NoHost", u":8080", u"ホスト名か IP アドレスがありません"},
        BadAddress{"Ipv4PartOver255", u"192.168.0.256:8080", kBadHost},
        BadAddress{"ThreePartAddress", u"192.168.1:8080", kBadHost},
        BadAddress{"BlankInside", u"my proxy:8080", kExtra},
        BadAddress{"PathBehind", u"h.test:8080/path", kExtra},
        BadAddress{"UserInFront", u"user@h.test:8080", kExtra},
        BadAddress{"AnotherScheme", u"socks5://h.test:1080", u"HTTP のプロキシだけ"},
        BadAddress{"Ipv6WithoutBrackets", u"::1:8080", u"「[」と「]」で囲んで"},
        BadAddress{"OpenBracketOnly", u"[::1:8080", u"「]」がありません"},
        BadAddress{"HostNameInBrackets", u"[h.test]:8080", u"IPv6 アドレスではありません"},
        BadAddress{"BadIpv6", u"[1:2:3:4:5:6:7:8:9]:8080", u"IPv6 アドレスではありません"},
        BadAddress{"LabelStartingWithHyphen", u"-proxy.test:8080", kBadHost},
        BadAddress{"EmptyLabel", u"proxy..test:8080", kBadHost},
        BadAddress{"LabelOf64Characters",
                   u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
                   u".test:8080",
                   kBadHost},
        BadAddress{"Underscore", u"my_proxy:8080", kBadHost}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProxyAddress, EmptyTextAsksForAnAddress) {
    QString error;
    EXPECT_FALSE(ProxyAddress::parse(QStringLiteral("  "), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("入力されていません"))) << error.toStdString();
}
