#pragma once
// The warning check: every cell of the check list is evaluated, and those
// that set the error or warning mark are counted. A clone write is refused
// while any check cell reports an error.

#include "radio/document.h"

cmcDocument::WarningCounts DefaultWarningCheck(cmcDocument& document);
