#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace desktop {

// What one start of the program asks of the instance already running, as one line on the
// single-instance socket. Only these lines are understood; anything else is refused:
//   come-forward\n
//   come-forward <activation token>\n
//   toggle-pause\n
//   look-up <the text in UTF-8, base64>\n
// The text is encoded so that a text with line ends or any other bytes stays one line. The
// activation token is the one a Wayland compositor gave the command that asks (its
// XDG_ACTIVATION_TOKEN): handed to the compositor with the window's request to come forward,
// it lets the window take the focus where a request without one is refused.
struct InstanceRequest {
    enum class Kind { ComeForward, TogglePause, LookUp };
    Kind kind = Kind::ComeForward;
    QString text; // LookUp: what to look up; ComeForward: the activation token, or empty

    // A request line, its end included, is never longer than this: the running instance does
    // not read further.
    static constexpr qsizetype kMaxLineBytes = 4096;
    // The longest text (in UTF-8) whose line still fits.
    static constexpr qsizetype kMaxTextBytes = 3000;
    // Compositors make tokens of a few dozen printable ASCII characters.
    static constexpr qsizetype kMaxActivationTokenBytes = 256;

    // token: the asking command's activation token; one that is not a plausible token (too
    // long, blanks or control characters) is left out, and the request goes without one.
    static InstanceRequest comeForward(const QByteArray& token = {});
    static InstanceRequest togglePause() { return {Kind::TogglePause, {}}; }
    static InstanceRequest lookUp(const QString& text) { return {Kind::LookUp, text}; }

    // The activation token of a ComeForward request, or empty.
    QString activationToken() const { return kind == Kind::ComeForward ? text : QString(); }

    // Why text cannot be sent to be looked up (empty, only blanks, too long), or nothing.
    static QString whyNotLookUpText(const QString& text);

    // The line to send, its end included.
    QByteArray encoded() const;
    // The request a line (its end included) stands for; nothing for any other line.
    static std::optional<InstanceRequest> decode(const QByteArray& line);

    friend bool operator==(const InstanceRequest&, const InstanceRequest&) = default;
};

} // namespace desktop
