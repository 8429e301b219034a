#include "browser/LoadLog.h"

Q_LOGGING_CATEGORY(loadLog, "lexorra2.loads", QtWarningMsg)
