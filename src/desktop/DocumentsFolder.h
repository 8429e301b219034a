#pragma once

#include <QString>

namespace desktop {

// The user's documents folder, without a trailing separator, so that "/Lexorra2" can be
// appended directly; empty when it cannot be resolved.
QString documentsFolder();

} // namespace desktop
