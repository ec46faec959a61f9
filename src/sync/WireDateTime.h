#pragma once

// Dates and times as frames carry them: "7.3.2006" (day, month, year, no leading zeros) and
// "09:05:00".

#include <string>

#include "platform/DateTime.h"

namespace pondrel {

std::u16string WireDate(const DateTime& when);
std::u16string WireTime(const DateTime& when);

}  // namespace pondrel
