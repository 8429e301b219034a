#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace desktop {

// What one start of the program asks of the instance already running, as one line on the
// single-instance socket. Only these three lines are understood; anything else is refused:
//   come-forward\n
//   toggle-pause\n
//   look-up <the text in UTF-8, base64>\n
// The text is encoded so that a text with line ends or any other bytes stays one line.
struct InstanceRequest {
    enum class Kind { ComeForward, TogglePause, LookUp };
    Kind kind = Kind::ComeForward;
    QString text; // LookUp: what to look up

    // A request line, its end included, is never longer than this: the running instance does
    // not read further.
    static constexpr qsizetype kMaxLineBytes = 4096;
    // The longest text (in UTF-8) whose line still fits.
    static constexpr qsizetype kMaxTextBytes = 3000;

    static InstanceRequest comeForward() { return {Kind::ComeForward, {}}; }
    static InstanceRequest togglePause() { return {Kind::TogglePause, {}}; }
    static InstanceRequest lookUp(const QString& text) { return {Kind::LookUp, text}; }

    // Why text cannot be sent to be looked up (empty, only blanks, too long), or nothing.
    static QString whyNotLookUpText(const QString& text);

    // The line to send, its end included.
    QByteArray encoded() const;
    // The request a line (its end included) stands for; nothing for any other line.
    static std::optional<InstanceRequest> decode(const QByteArray& line);

    friend bool operator==(const InstanceRequest&, const InstanceRequest&) = default;
};

} // namespace desktop
