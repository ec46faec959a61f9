#pragma once

// The journal's layout is defined with the records, whose conversion of old files builds
// journals; the journal editor uses the same definitions.
#include "records/JournalFormat.h"
