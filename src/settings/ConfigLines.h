#pragma once

#include "settings/Options.h"

#include <QByteArray>
#include <optional>

namespace settings {

// The program's own configuration file: options that the settings file has no line for, as
// "key=value" lines in UTF-8 (values true or false). Whatever else the file holds (comments,
// keys of a newer version, lines that make no sense) is kept as it was when the file is
// written again; only the lines of the keys known here change.
class ConfigLines {
public:
    // The options the file sets, over `options`; an unknown or unreadable value leaves the
    // option as it was. Nothing (nullopt) for bytes that are no text: not UTF-8, or holding
    // a NUL.
    static std::optional<Options> read(const QByteArray& bytes, const Options& options);
    // `previous` (the file as read) with each known key's line set to the option's value,
    // and the keys it lacked added at the end.
    static QByteArray write(const QByteArray& previous, const Options& options);
};

} // namespace settings
