#pragma once

#include <string_view>

class QImage;

namespace pondrel {

class DeviceFileSystem;

// Pictures of the installation folder are read whole, at most this many bytes.
inline constexpr size_t kMaxPictureBytes = 8 * 1024 * 1024;

// Reads and decodes a ".jpg" (or any picture Qt can decode) from the device. False when the file
// is missing, too big, unreadable or not a picture; `image` is then left null.
bool LoadDevicePicture(DeviceFileSystem& files, std::u16string_view path, QImage& image);

}  // namespace pondrel
