#pragma once

// Constants of the ".wnd" arrangement file shared by its reader and its writer.

#include <cstddef>
#include <string_view>

namespace pondrel::arrangement_format {

inline constexpr std::u16string_view kVersionMark = u"v40#";
inline constexpr int kCurrentVersion = 40;
// The version of a file without "#" among its first characters.
inline constexpr std::u16string_view kVersionWithoutMark = u"3.00";
// The "#" ending the version is looked for among this many first characters.
inline constexpr size_t kVersionSearchLength = 10;
// Files of an older version stop before this field.
inline constexpr int kFirstFieldOfCurrentVersion = 202;

// Bytes the reader takes. A larger file is refused as a whole, never read in part.
inline constexpr size_t kReadLimitBytes = 100000;

// Values the checks of the reader keep a file within.
inline constexpr int kHiddenLayoutValue = -1;
inline constexpr int kLastFormPage = 18;
inline constexpr int kCoordinateLimit = 30000;

inline constexpr std::u16string_view kExtension = u".wnd";
inline constexpr std::u16string_view kFilePattern = u"*.wnd";
// In the installation folder.
inline constexpr std::u16string_view kDefaultFileName = u"Default position.wnd";
inline constexpr std::u16string_view kInitialFileName = u"Initial position.wnd";
// The name a save into the default file is shown under.
inline constexpr std::u16string_view kDefaultShownName = u"Default";

}  // namespace pondrel::arrangement_format
