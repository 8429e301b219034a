#pragma once

#include <QLoggingCategory>

// The life of each page load (started, shown, asked again, timed out, ended), for finding
// out why a lookup did not end where it should. Off unless QT_LOGGING_RULES turns
// "lexorra2.loads.debug" on.
Q_DECLARE_LOGGING_CATEGORY(loadLog)
