#pragma once

#include <QString>
#include <optional>

namespace settings {

// The proxy server the user names in the proxy dialog: a host name or IP address and a port.
class ProxyAddress {
public:
    // Reads "host:port" as typed: blanks around it, an "http://" in front and a "/" behind are
    // allowed; an IPv6 address goes in brackets ("[::1]:8080"); a host name outside ASCII is
    // turned into its ASCII form. When the text names no such server, returns nothing and, if
    // error is given, puts a message for the user into it.
    static std::optional<ProxyAddress> parse(const QString& text, QString* error = nullptr);

    // Lower-case host name, dotted IPv4 address or IPv6 address without brackets.
    QString host() const { return host_; }
    quint16 port() const { return port_; }
    // "host:port", the IPv6 address in brackets.
    QString toString() const;

    friend bool operator==(const ProxyAddress&, const ProxyAddress&) = default;

private:
    ProxyAddress(QString host, quint16 port) : host_(std::move(host)), port_(port) {}

    QString host_;
    quint16 port_ = 0;
};

} // namespace settings
